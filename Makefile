# The two commands of the README:
#   make run    set up, build and start the calculator
#   make test   set up, build and pass every test
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release -DORVANEL_WERROR=ON

PREFIX ?= /usr/local

.PHONY: run test sanitize fuzz build build-run install package package-check screenshot bench clean

run: build-run
	@scripts/run.sh $(BUILD_DIR)

test:
	@scripts/setup.sh test
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) -DORVANEL_BUILD_TESTS=ON -DORVANEL_BUILD_BENCH=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer in a folder of its own:
# a memory error, undefined behaviour or a leak fails the test it happens in.
SANITIZE_DIR ?= build-asan
sanitize:
	@scripts/setup.sh test
	cmake -S . -B $(SANITIZE_DIR) $(CMAKE_FLAGS) -DORVANEL_SANITIZE=ON -DORVANEL_BUILD_TESTS=ON \
	  -DORVANEL_BUILD_BENCH=OFF
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS, built with clang in a folder of its own; a crash, a sanitizer report
# or a hung input fails, and the input is kept in $(FUZZ_DIR)/crashes. Warnings are gcc's business in the
# two builds above: clang's own do not stop the fuzzing.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/setup.sh test
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=Release -DORVANEL_WERROR=OFF -DCMAKE_CXX_COMPILER=clang++ \
	  -DORVANEL_BUILD_FUZZ=ON -DORVANEL_BUILD_GUI=OFF -DORVANEL_BUILD_TESTS=OFF -DORVANEL_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers
	scripts/fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The calculator alone: no test oracles needed.
build-run:
	@scripts/setup.sh run
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) -DORVANEL_BUILD_TESTS=OFF -DORVANEL_BUILD_BENCH=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS) --target orvanel orvanel-cli

# Installs the calculator under PREFIX: programs, libovnliblt, help, desktop entry, icon and file type.
install: build-run
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package, $(BUILD_DIR)/orvanel_<version>_<arch>.deb, built without the tests.
# dpkg-dev comes first: cpack runs dpkg-shlibdeps for the package's dependencies.
package:
	@scripts/setup.sh package
	$(MAKE) --no-print-directory build-run
	cd $(BUILD_DIR) && cpack

# The package as CI checks it: lintian finds nothing unexplained, and the unpacked tree works.
package-check: package
	scripts/package-check.sh $(BUILD_DIR)/orvanel_*_$(shell dpkg --print-architecture).deb

# The README's picture of the window, taken again under a virtual X server.
screenshot: build-run
	@scripts/setup.sh screenshot
	scripts/screenshot.sh $(BUILD_DIR)

bench:
	@scripts/setup.sh test
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) -DORVANEL_BUILD_TESTS=ON -DORVANEL_BUILD_BENCH=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	@for b in $(BUILD_DIR)/bin/*_bench; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD_DIR)
