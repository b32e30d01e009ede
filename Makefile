# Junkyard Reverb: the entry points for people and CI.
#   make demo     build, then render the demo through every program to demo/
#   make test     build and test, plainly and under AddressSanitizer + UBSan
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

# Debian packages the build, the tests and the benchmarks need.
PACKAGES := cmake g++ make pkg-config libsndfile1-dev libgtest-dev googletest \
            libbenchmark-dev valgrind

SANITIZER_ENV := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
                 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: demo test bench install clean deps build

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
	cd $(BUILD) && ctest --output-on-failure -j2
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DJUNKYARD_SANITIZE=address,undefined -DJUNKYARD_BUILD_TESTS=ON -DJUNKYARD_BUILD_TOOLS=ON
	cmake --build $(BUILD_ASAN) -j$(JOBS)
	cd $(BUILD_ASAN) && $(SANITIZER_ENV) ctest --output-on-failure -j2

bench: deps
	cmake -S . -B $(BUILD_BENCH) -DCMAKE_BUILD_TYPE=Release -DJUNKYARD_BUILD_BENCH=ON \
	  -DJUNKYARD_BUILD_TESTS=OFF -DJUNKYARD_BUILD_TOOLS=ON
	cmake --build $(BUILD_BENCH) -j$(JOBS) --target junkyard-bench junkyard-bench-driver junkyard-bench-dsp
	$(BUILD_BENCH)/bench/junkyard-bench
	$(BUILD_BENCH)/bench/junkyard-bench-dsp
	@echo "Counting instructions with callgrind..."
	bench/callgrind_frames.sh $(BUILD_BENCH)/bench/junkyard-bench-driver

install: build
	mkdir -p "$(VSTDIR)"
	rm -rf "$(VSTDIR)/JunkyardReverb"
	cp -r $(BUILD)/JunkyardReverb "$(VSTDIR)/"
	@echo "Installed $(VSTDIR)/JunkyardReverb/"

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_BENCH) demo
