# The two commands of the README:
#   make run    set up, build and start the calculator
#   make test   set up, build and pass every test
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release -DORVANEL_WERROR=ON

PREFIX ?= /usr/local

.PHONY: run test build build-run install package package-check screenshot bench clean

run: build-run
	@scripts/run.sh $(BUILD_DIR)

test:
	@scripts/setup.sh test
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) -DORVANEL_BUILD_TESTS=ON -DORVANEL_BUILD_BENCH=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

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
