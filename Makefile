# Thin wrapper over CMake and CTest.
BUILD      ?= build
TEST_BUILD ?= build-test
JOBS       ?= $(shell nproc)
# The tests' machine roots go on a memory file system when there is one: every rewrite the suite
# makes is synced to disk, which a disk makes slow for the tests that write thousands of times.
TEST_TMPDIR ?= $(shell [ -d /dev/shm ] && [ -w /dev/shm ] && echo /dev/shm || echo /tmp)

.PHONY: all build test demo demo-vorl deps clean

all: build

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

demo: deps build
	BUILD=$(BUILD) scripts/demo

demo-vorl: deps build
	BUILD=$(BUILD) scripts/demo --vorl

deps:
	scripts/install-deps

test: deps
	cmake -S . -B $(TEST_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSUITE_SANITIZE=ON
	cmake --build $(TEST_BUILD) -j $(JOBS)
	TMPDIR=$(TEST_TMPDIR) ctest --test-dir $(TEST_BUILD) --output-on-failure -j $(JOBS) --timeout 300

clean:
	rm -rf $(BUILD) $(TEST_BUILD)
