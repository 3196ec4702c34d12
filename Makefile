# Two entry points: `make run` builds and starts the program in work/ (seeded
# with the example structure), `make test` builds and runs every test, also
# under the address and undefined-behaviour sanitizers.
JOBS ?= $(shell nproc)
BUILD ?= build
SAN_BUILD ?= build-san

.PHONY: all run test test-plain test-sanitize deps clean

all: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: all
	mkdir -p work
	cp -n examples/*.dat work/ 2>/dev/null || true
	[ -f work/history.inp ] || printf 'kondensa.dat\r\n' > work/history.inp
	cd work && ../$(BUILD)/src/tambri

test: test-plain test-sanitize

test-plain: all
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTAMBRI_SANITIZE=ON -DTAMBRI_BENCHMARKS=OFF
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS)

deps:
	./.ci/install-deps

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
