# The two commands of the README:
#   make run    set up, build and start the calculator
#   make test   set up, build and pass every test
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release -DORVANEL_WERROR=ON

.PHONY: run test build build-run bench clean

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

bench:
	@scripts/setup.sh test
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) -DORVANEL_BUILD_TESTS=ON -DORVANEL_BUILD_BENCH=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	@for b in $(BUILD_DIR)/bin/*_bench; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD_DIR)
