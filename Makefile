# make run  - install what is missing, build, start Stackle
# make test - install what is missing, check the format, build, run every test, then the unit
#             tests again under AddressSanitizer and UndefinedBehaviorSanitizer
# make format - lay every tracked C++ file out as .clang-format says (clang-format 14)
# make fuzz - build the fuzzers (icon reader, settings file) with clang and run each of them in
#             turn for FUZZ_SECONDS
# make install [PREFIX=dir] [AUTOSTART=1] - install an optimised, stripped build for this user,
#   no root needed
# make uninstall [PREFIX=dir] - remove what make install put there, keeping settings and notes;
#   refuses while the installed program runs
# make package - build the Debian package stackle_<version>_<arch>.deb here, for everyone: apt-get
#   install ./stackle_*.deb
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
SANITIZE_BUILD ?= build-asan
FUZZ_SECONDS ?= 60
# WERROR=ON makes every compiler warning an error, as CI builds.
WERROR ?= OFF
PREFIX ?= $(HOME)/.local/opt/stackle
AUTOSTART ?= 0
# The program folder make run starts Stackle from. Stackle keeps its settings, lists and notes
# beside its binary, so this folder is one no build step and no make clean touches.
RUN_DIR ?= run
# The build make install installs from: optimised, of the program alone, apart from $(BUILD) so
# that installing never rebuilds the tests' build.
INSTALL_BUILD ?= build-release
# What a program folder holds besides the user's files: the binary and its blank slot icon.
PROGRAM_FILES := stackle empty.ico

.PHONY: deps build run test test-sanitize check-format format bench fuzz release-build install uninstall package clean

deps:
	scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTACKLE_WERROR=$(WERROR)
	cmake --build $(BUILD)

# Builds the program target only (make test builds the rest into the same folder), then copies
# it and its companions into $(RUN_DIR), each through a new file renamed over the old, so that a
# strip still running from there is not disturbed; FILE.INI, the lists and the notes stay.
run: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSTACKLE_WERROR=$(WERROR)
	cmake --build $(BUILD) --target stackle
	mkdir -p $(RUN_DIR)
	for f in $(PROGRAM_FILES); do \
		cp -p $(BUILD)/bin/$$f $(RUN_DIR)/.$$f.new && mv -f $(RUN_DIR)/.$$f.new $(RUN_DIR)/$$f || exit 1; \
	done
	$(RUN_DIR)/stackle

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

format: deps
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i

bench: build
	bench/startup.sh $(BUILD)
	bench/startup_profile.sh $(BUILD)
	bench/start_file.sh $(BUILD)
	bench/command.sh $(BUILD)
	$(BUILD)/bin/file_list_bench

# Each fuzzer runs for FUZZ_SECONDS, one after the other, and the first finding stops. A fuzzer's
# new inputs go to $(FUZZ_BUILD)/corpus/<name>, its findings to $(FUZZ_BUILD)/<name>-*;
# fuzz/corpus/<name> holds its seeds.
FUZZERS := icon_reader profile_file
fuzz: deps
	CC=clang CXX=clang++ cmake -S fuzz -B $(FUZZ_BUILD) -G Ninja
	cmake --build $(FUZZ_BUILD)
	set -e; for name in $(FUZZERS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$name; \
		$(FUZZ_BUILD)/$${name}_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/$$name- $(FUZZ_BUILD)/corpus/$$name fuzz/corpus/$$name; \
	done

# The optimised build of the program alone that install and package take it from. Sets up
# $(INSTALL_BUILD) when it is not there yet; an existing one is only brought up to date, which
# needs neither root nor the install script.
release-build:
	test -f $(INSTALL_BUILD)/build.ninja || { $(MAKE) deps && \
		cmake -S . -B $(INSTALL_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTACKLE_WERROR=$(WERROR); }
	cmake --build $(INSTALL_BUILD) --target stackle

# The program is installed stripped.
install: release-build
	scripts/install.sh install $(INSTALL_BUILD) "$(PREFIX)" $(AUTOSTART)

# CPack writes the package from the install rules (packaging/CMakeLists.txt), stripping the
# program; dpkg-shlibdeps, which the install script brings, computes its Depends.
package: deps release-build
	rm -f $(INSTALL_BUILD)/stackle_*.deb
	cd $(INSTALL_BUILD) && cpack -G DEB
	cp $(INSTALL_BUILD)/stackle_*.deb .

uninstall:
	scripts/install.sh uninstall "$(PREFIX)"

# Removes the build folders only: $(RUN_DIR), with the settings, lists and notes, stays.
clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(INSTALL_BUILD) $(SANITIZE_BUILD)
