# Two entry points: `make run` builds and starts the program in work/ (seeded
# with the example structure), `make test` builds and runs every test, also
# under the address and undefined-behaviour sanitizers. `make format-check` and
# `make tidy` hold the style and the static checks (CI runs both).
JOBS ?= $(shell nproc)
BUILD ?= build
SAN_BUILD ?= build-san
# Every build made here, and so CI's, treats compiler warnings as errors; one
# setting for all targets, as they share the build folder and a change of flags
# would rebuild everything. `make run WERROR=OFF` lets a newer compiler through.
WERROR ?= ON
CONFIGURE = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMBRI_WERROR=$(WERROR)

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600

.PHONY: all run test test-plain test-sanitize demo deps clean tidy format-check web serve-web test-web bench-web deps-web

all: deps
	$(CONFIGURE)
	cmake --build $(BUILD) -j $(JOBS)

# make run [ARGS="--headless --png"]: builds the program alone and starts it.
run: deps
	$(CONFIGURE)
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
	$(CONFIGURE)
	cmake --build $(BUILD) -j $(JOBS) --target tambri
	python3 scripts/demo.py $(BUILD) gallery

test-plain: all
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTAMBRI_SANITIZE=ON -DTAMBRI_BENCHMARKS=OFF \
	  -DTAMBRI_WERROR=$(WERROR)
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS)

deps:
	./.ci/install-deps

deps-web:
	./.ci/install-deps --web

# make web: the program for the browser in $(WEB_BUILD)/site (page, module,
# WebAssembly, terminal widget, examples), built with Debian's Emscripten,
# which finds its node modules only on Debian's module path. The glyph table
# comes from the native build's cell font, the terminal widget from the
# versions web/package-lock.json pins.
WEB_BUILD ?= build-web
WEB_PORT ?= 8000
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs
web: deps-web web/node_modules/.package-lock.json
	$(CONFIGURE)
	cmake --build $(BUILD) -j $(JOBS) --target cell_font_table
	$(EMSCRIPTEN_ENV) emcmake cmake -S web -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release -DTAMBRI_WERROR=$(WERROR) \
	  -DTAMBRI_CELL_FONT_TOOL=$(CURDIR)/$(BUILD)/cell_font_table -DTAMBRI_XTERM_DIR=$(CURDIR)/web/node_modules/@xterm/xterm
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)

web/node_modules/.package-lock.json: web/package-lock.json
	cd web && npm ci --no-audit --no-fund

# make serve-web: the page at http://localhost:8000/ (WEB_PORT=...).
serve-web: web
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 -d $(WEB_BUILD)/site

# make test-web: the whole-screen scripts of the native tests, run by their
# driver built for the browser (under node); then in headless Chromium the
# first session of the README against the native program's transcript,
# picture and files, and Ctrl-C during a calculation.
test-web: web
	node $(WEB_BUILD)/screen_driver.js $(CURDIR)/examples $$(find $(CURDIR)/tests/screens -name '*.screen' | sort)
	cmake --build $(BUILD) -j $(JOBS) --target tambri
	node web/test/first_session.mjs $(WEB_BUILD)/site $(BUILD)/src/tambri
	node web/test/interrupt.mjs $(WEB_BUILD)/site

# make bench-web: the coax reference problem solved five times in the browser
# and natively; the medians and their ratio (for BENCHMARKS.md).
bench-web: web
	cmake --build $(BUILD) -j $(JOBS) --target tambri
	node web/test/solve_speed.mjs $(WEB_BUILD)/site $(BUILD)/src/tambri

# The house style of .clang-format, checked without changing a file
# (`clang-format -i FILE` applies it).
format-check: deps
	find src tests bench fuzz web -path web/node_modules -prune -o \( -name '*.cc' -o -name '*.h' \) -print | sort \
	  | xargs clang-format --dry-run -Werror

# The checks of .clang-tidy over the program, the benchmarks and the fuzz
# targets, with the build's compile commands; any finding fails. A few files
# alone: make tidy TIDY_FILES='src/text/.*'
TIDY_FILES ?= (src|bench|fuzz)/.*\.cc
tidy: deps
	$(CONFIGURE) >/dev/null
	run-clang-tidy -p $(BUILD) -j $(JOBS) -quiet '^$(CURDIR)/$(TIDY_FILES)$$'

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
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD) $(WEB_BUILD)
