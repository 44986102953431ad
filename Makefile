# Wraps the CMake presets. `make run` and `make test` install what is missing first.
SHELL := /bin/bash
.DEFAULT_GOAL := run

FRAME_PNG := $(CURDIR)/build/default/last-frame.png
DATA_FOLDER := $(CURDIR)/build/default/data

.PHONY: deps build build-windows build-debug build-fuzz run test fuzz format clean

deps:
	@tools/install-deps.sh

build: deps
	cmake --preset default
	cmake --build --preset default

build-windows: deps
	cmake --preset windows
	cmake --build --preset windows

build-debug: deps
	cmake --preset debug
	cmake --build --preset debug

build-fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz

# With a display: the renderer, full screen (Escape or a mouse move ends it).
# Without one: a short offscreen run that writes the last frame as PNG and prints its path.
run: build
	@if [ -n "$$DISPLAY" ] && xdpyinfo >/dev/null 2>&1; then \
	  TAVREN_DATA=$(DATA_FOLDER) build/default/bin/Tavren.pex; \
	else \
	  build/default/bin/tavren-tool render --data $(DATA_FOLDER) --size 1280x720 --frames 120 \
	    --fps 60 --out $(FRAME_PNG); \
	fi

test: build build-windows build-debug build-fuzz
	ctest --preset default
	ctest --preset debug -L "unit|headless"
	tools/run-fuzzers.sh 30

# Every fuzz target for FUZZ_SECONDS seconds each (default 600).
FUZZ_SECONDS ?= 600
fuzz: build-fuzz
	tools/run-fuzzers.sh $(FUZZ_SECONDS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
