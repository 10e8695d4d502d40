# Thin wrapper over CMake: the two newcomer commands are `make run` and `make test`.
BUILD      ?= build/release
CHECK      ?= build/check
SANITIZE   ?= build/sanitize
BENCHDIR   ?= build/bench
JOBS       ?= 2
PREFIX     ?= /usr/local

.PHONY: all build run test sanitize bench golden determinism clean install examples

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DTESMO_TESTS=OFF > /dev/null
	cmake --build $(BUILD) -j $(JOBS)

# Builds, then meshes the bundled example end to end.
run: build
	mkdir -p out
	rm -f out/plate.msh out/plate.grd
	$(BUILD)/tesmo v examples/plate.geo examples/plate.den out/plate.msh out/plate.grd

# Builds with assertions on and runs every test.
test:
	cmake -S . -B $(CHECK) -DCMAKE_BUILD_TYPE=Check -DTESMO_TESTS=ON > /dev/null
	cmake --build $(CHECK) -j $(JOBS)
	ctest --test-dir $(CHECK) --output-on-failure

# The whole suite under AddressSanitizer and UBSan.
sanitize:
	cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Check -DTESMO_TESTS=ON -DTESMO_SANITIZE=ON > /dev/null
	cmake --build $(SANITIZE) -j $(JOBS)
	ctest --test-dir $(SANITIZE) --output-on-failure

# The same files from the debug, check, release and sanitizer builds, byte for byte.
determinism:
	bash tests/determinism/compare_builds.sh

# Runs the golden cases again, prints what changed and stores the new output; then checks
# the stored meshes with the mesh checker. Say in the commit why they changed.
golden: build
	bash tests/golden/golden.sh $(BUILD)/tesmo --refresh
	cmake -S . -B $(CHECK) -DCMAKE_BUILD_TYPE=Check -DTESMO_TESTS=ON > /dev/null
	cmake --build $(CHECK) -j $(JOBS) --target test_e2e
	$(CHECK)/test_e2e --gtest_filter='GoldenRuns.*'

bench:
	cmake -S . -B $(BENCHDIR) -DCMAKE_BUILD_TYPE=Release -DTESMO_TESTS=OFF -DTESMO_BENCH=ON > /dev/null
	cmake --build $(BENCHDIR) -j $(JOBS)
	bash bench/run.sh $(BENCHDIR)

# Installs tesmo and tesmo-tools in $(PREFIX)/bin, the README and the examples in
# $(PREFIX)/share/doc/tesmo.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Meshes every example and redraws its picture in docs/.
examples: build
	bash examples/mesh_all.sh $(BUILD)

clean:
	rm -rf build out
