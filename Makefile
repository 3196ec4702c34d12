# Two entry points: `make run` builds and starts the program in work/ (seeded
# with the example structure), `make test` builds and runs every test, also
# under the address and undefined-behaviour sanitizers.
JOBS ?= $(shell nproc)
BUILD ?= build
SAN_BUILD ?= build-san

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600

.PHONY: all run test test-plain test-sanitize demo deps clean

all: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# make run [ARGS="--headless --png"]: builds the program alone and starts it.
run: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target tambri
	mkdir -p work
	cp -n examples/*.dat work/ 2>/dev/null || true
	[ -f work/history.inp ] || printf 'kondensa.dat\r\n' > work/history.inp
	cd work && ../$(BUILD)/src/tambri $(ARGS)

test: test-plain test-sanitize

# make demo: every example solved and drawn headless into gallery/ (PostScript
# with PDF copies, bitmaps with PNG copies), one line per example with its
# key result beside the analytic value.
demo: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target tambri
	python3 scripts/demo.py $(BUILD) gallery

test-plain: all
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTAMBRI_SANITIZE=ON -DTAMBRI_BENCHMARKS=OFF
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS)

deps:
	./.ci/install-deps

# make fuzz-structure_file, fuzz-free_form or fuzz-dialogue [FUZZ_SECONDS=600]:
# the libFuzzer target with clang, ASan and UBSan, on a working corpus in the
# build folder seeded from fuzz/corpus. Findings land in $(FUZZ_BUILD)/findings.
fuzz-%: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMBRI_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $*_fuzz
	mkdir -p $(FUZZ_BUILD)/corpus/$* $(FUZZ_BUILD)/findings
	# Absolute paths: the dialogue target works in a scratch folder of its own.
	$(FUZZ_BUILD)/fuzz/$*_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=30 -rss_limit_mb=4096 \
	  -artifact_prefix=$(CURDIR)/$(FUZZ_BUILD)/findings/$*- -print_final_stats=1 \
	  $(CURDIR)/$(FUZZ_BUILD)/corpus/$* $(CURDIR)/fuzz/corpus/$*

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)
