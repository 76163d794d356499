# make run  - install what is missing, build, start Stackle
# make test - install what is missing, check the format, build, run every test, then the unit
#             tests again under AddressSanitizer and UndefinedBehaviorSanitizer
# make fuzz - build the icon reader's fuzzer with clang and run it for FUZZ_SECONDS
# make install [PREFIX=dir] [AUTOSTART=1] - install for this user, no root needed
# make uninstall [PREFIX=dir] - remove what make install put there, keeping settings and notes
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
SANITIZE_BUILD ?= build-asan
FUZZ_SECONDS ?= 60
# WERROR=ON makes every compiler warning an error, as CI builds.
WERROR ?= OFF
PREFIX ?= $(HOME)/.local/opt/stackle
AUTOSTART ?= 0

.PHONY: deps build run test test-sanitize check-format bench fuzz install uninstall clean

deps:
	scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTACKLE_WERROR=$(WERROR)
	cmake --build $(BUILD)

run: build
	$(BUILD)/bin/stackle

test: check-format build
	ctest --test-dir $(BUILD) --output-on-failure
	$(MAKE) --no-print-directory test-sanitize
	@plain=$$(ctest --test-dir $(BUILD) -N -LE e2e | tail -1); \
	sanitized=$$(ctest --test-dir $(SANITIZE_BUILD) -N -LE e2e | tail -1); \
	if [ "$$plain" != "$$sanitized" ]; then \
		echo "make test: unit tests of the plain build: $$plain; of the sanitizer build: $$sanitized" >&2; \
		exit 1; \
	fi

# The unit tests built and run under AddressSanitizer and UndefinedBehaviorSanitizer, in a build
# of their own: all but the end-to-end tests, and e2e.x11, the unit tests that need an X server.
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTACKLE_WERROR=$(WERROR) \
		-DSTACKLE_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) --target unit_tests
	ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -LE e2e
	ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -R '^e2e\.x11$$'

# Every tracked C++ file as clang-format lays it out (.clang-format).
check-format: deps
	scripts/check-format.sh

bench: build
	bench/startup.sh $(BUILD)
	bench/startup_profile.sh $(BUILD)
	bench/start_file.sh $(BUILD)
	$(BUILD)/bin/file_list_bench

# New inputs go to $(FUZZ_BUILD)/corpus, findings to $(FUZZ_BUILD)/; fuzz/corpus holds the seeds.
fuzz: deps
	CC=clang CXX=clang++ cmake -S fuzz -B $(FUZZ_BUILD) -G Ninja
	cmake --build $(FUZZ_BUILD)
	mkdir -p $(FUZZ_BUILD)/corpus
	$(FUZZ_BUILD)/icon_reader_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		-artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus fuzz/corpus

# Builds first when there is no build yet; an existing build is only brought up to date, which
# needs neither root nor the install script.
install:
	test -f $(BUILD)/build.ninja || $(MAKE) build
	cmake --build $(BUILD)
	scripts/install.sh install $(BUILD) "$(PREFIX)" $(AUTOSTART)

uninstall:
	scripts/install.sh uninstall "$(PREFIX)"

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(SANITIZE_BUILD)
