# make run  - install what is missing, build, start Stackle
# make test - install what is missing, build, run every test
BUILD ?= build

.PHONY: deps build run test bench clean

deps:
	scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD)

run: build
	$(BUILD)/bin/stackle

test: build
	ctest --test-dir $(BUILD) --output-on-failure

bench: build
	bench/startup.sh $(BUILD)
	bench/start_file.sh $(BUILD)

clean:
	rm -rf $(BUILD)
