# Junkyard Reverb: the entry points for people and CI.
#   make demo     build, then render the demo through every program to demo/
#   make test     build and test, plainly and under AddressSanitizer + UBSan, the
#                 thread tests under ThreadSanitizer, and a short run of each fuzzer
#   make fuzz     build the fuzz targets with clang and run each for a minute
#   make bench    timings, instance footprint and callgrind instruction counts
#   make install  copy the plug-in folder to ~/.vst (or VSTDIR=...)
#   make clean    remove what these targets built

SHELL := /bin/bash
.SHELLFLAGS := -eu -o pipefail -c

JOBS   ?= $(shell nproc)
VSTDIR ?= $(HOME)/.vst

BUILD       := build
BUILD_ASAN  := build-asan
BUILD_BENCH := build-bench
BUILD_TSAN  := build-tsan
BUILD_FUZZ  := build-fuzz

# Debian packages the build, the tests and the benchmarks need. The fuzz
# targets need clang and its runtime libraries (libFuzzer, the sanitizers),
# which Debian ships apart from the compiler.
PACKAGES := cmake g++ make pkg-config libsndfile1-dev libgtest-dev googletest \
            libbenchmark-dev valgrind clang libclang-rt-dev \
            libcairo2-dev libx11-dev libstb-dev fonts-dejavu-core libxtst-dev xvfb

# The editor's window tests run against a private virtual X server.
WITH_XVFB := $(CURDIR)/tests/with_xvfb.sh

SANITIZER_ENV := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
                 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
TSAN_ENV := TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1"
# The tests that run the effect on several threads at once.
THREAD_TESTS := Thread|^Loader\.
# ThreadSanitizer needs a memory layout that address-space randomisation on
# some kernels breaks ("unexpected memory mapping"): run its programs without
# randomisation wherever the kernel allows that.
NO_ASLR := $(shell setarch $(shell uname -m) -R true >/dev/null 2>&1 && echo setarch $(shell uname -m) -R)
# Seconds each fuzz target runs in `make fuzz` and in `make test`.
FUZZ_SECONDS      ?= 60
FUZZ_TEST_SECONDS ?= 10

.PHONY: demo test bench install clean deps build thread-test fuzz fuzz-build

# Installs what is missing when run as root; otherwise says what to run.
deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' "$$p" 2>/dev/null | grep -q "install ok installed" \
	    || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" -eq 0 ]; then \
	    echo "Installing:$$missing"; \
	    export DEBIAN_FRONTEND=noninteractive; \
	    apt-get install -y $$missing || { apt-get update && apt-get install -y $$missing; }; \
	  else \
	    echo "Missing packages:$$missing" >&2; \
	    echo "Install them with:" >&2; \
	    echo "  sudo apt-get install -y$$missing" >&2; \
	    exit 1; \
	  fi; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j$(JOBS)

demo: build
	$(BUILD)/tools/junkyard-render --all-programs --demo-out demo/junkyard-demo.wav

test: build
	cd $(BUILD) && $(WITH_XVFB) ctest --output-on-failure -j2
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DJUNKYARD_SANITIZE=address,undefined -DJUNKYARD_BUILD_TESTS=ON -DJUNKYARD_BUILD_TOOLS=ON
	cmake --build $(BUILD_ASAN) -j$(JOBS)
	cd $(BUILD_ASAN) && $(SANITIZER_ENV) $(WITH_XVFB) ctest --output-on-failure -j2
	$(MAKE) --no-print-directory thread-test
	$(MAKE) --no-print-directory fuzz-build
	tests/fuzz/run_fuzzers.sh $(BUILD_FUZZ) $(FUZZ_TEST_SECONDS)

# ThreadSanitizer over the thread tests only; the test executables list their
# tests while building, so the build runs without randomisation too.
thread-test: deps
	cmake -S . -B $(BUILD_TSAN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DJUNKYARD_SANITIZE=thread \
	  -DJUNKYARD_BUILD_TESTS=ON -DJUNKYARD_BUILD_TOOLS=ON
	$(NO_ASLR) cmake --build $(BUILD_TSAN) -j$(JOBS) --target test_effect test_plugin
	cd $(BUILD_TSAN) && $(TSAN_ENV) $(NO_ASLR) ctest --output-on-failure -j2 --no-tests=error \
	  -R '$(THREAD_TESTS)'

# libFuzzer targets: clang, AddressSanitizer + UBSan, coverage hooks in every library.
fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DJUNKYARD_FUZZ=ON -DJUNKYARD_SANITIZE=address,undefined \
	  -DJUNKYARD_BUILD_TESTS=ON -DJUNKYARD_BUILD_TOOLS=ON
	cmake --build $(BUILD_FUZZ) -j$(JOBS) --target junkyard_fuzzers

fuzz: fuzz-build
	tests/fuzz/run_fuzzers.sh $(BUILD_FUZZ) $(FUZZ_SECONDS)

bench: deps
	cmake -S . -B $(BUILD_BENCH) -DCMAKE_BUILD_TYPE=Release -DJUNKYARD_BUILD_BENCH=ON \
	  -DJUNKYARD_BUILD_TESTS=OFF -DJUNKYARD_BUILD_TOOLS=ON
	cmake --build $(BUILD_BENCH) -j$(JOBS) --target junkyard-bench junkyard-bench-driver junkyard-bench-dsp junkyard-bench-gui
	$(BUILD_BENCH)/bench/junkyard-bench
	$(BUILD_BENCH)/bench/junkyard-bench-dsp
	$(BUILD_BENCH)/bench/junkyard-bench-gui
	@echo "Counting instructions with callgrind..."
	bench/callgrind_frames.sh $(BUILD_BENCH)/bench/junkyard-bench-driver

install: build
	mkdir -p "$(VSTDIR)"
	rm -rf "$(VSTDIR)/JunkyardReverb"
	cp -r $(BUILD)/JunkyardReverb "$(VSTDIR)/"
	@echo "Installed $(VSTDIR)/JunkyardReverb/"

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_BENCH) $(BUILD_TSAN) $(BUILD_FUZZ) demo

# Redraws the editor's pictures into resources/ (the PNG files there are kept
# in the repository; commit them when they change).
.PHONY: pictures
pictures: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DJUNKYARD_BUILD_TOOLS=ON
	cmake --build $(BUILD) -j$(JOBS) --target junkyard-draw-pictures
	$(BUILD)/resources/junkyard-draw-pictures resources
