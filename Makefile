# Thin wrapper over CMake: the two newcomer commands are `make run` and `make test`.
BUILD      ?= build/release
CHECK      ?= build/check
SANITIZE   ?= build/sanitize
BENCHDIR   ?= build/bench
STRESSDIR  ?= build/stress
FUZZDIR    ?= build/fuzz
JOBS       ?= 2
PREFIX     ?= /usr/local
# Geometries of each shape for `make stress` (three placements and three kinds of sizes each),
# the seed of the first and the sizes (all, none, density or points).
STRESS_CASES ?= 60
STRESS_SEED  ?= 777000
STRESS_SIZES ?= all
# Seconds each fuzz target runs for in `make fuzz`.
FUZZ_SECONDS ?= 60

.PHONY: all build run test sanitize bench golden determinism stress fuzz clean install examples

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

# The long random-geometry run: STRESS_CASES geometries of every shape, as drawn, scaled by
# 1e-4 and moved far from the origin, each meshed with the default sizes, a density file and
# sizes at its points, and checked; the counts are printed and the geometries that fail are
# kept in $(STRESSDIR)/failures with their size files.
stress:
	cmake -S . -B $(STRESSDIR) -DCMAKE_BUILD_TYPE=Release -DTESMO_TESTS=ON > /dev/null
	cmake --build $(STRESSDIR) --target tesmo_stress -j $(JOBS)
	$(STRESSDIR)/tesmo_stress $(STRESS_CASES) $(STRESS_SEED) $(STRESSDIR)/failures $(STRESS_SIZES)

# One libFuzzer target per reader (geometry, mesh, nodal values, size file, command line and
# prompts), built with clang under ASan and UBSan, each run for FUZZ_SECONDS in turn.
fuzz:
	cmake -S . -B $(FUZZDIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Check -DTESMO_TESTS=OFF -DTESMO_FUZZ=ON > /dev/null
	cmake --build $(FUZZDIR) -j $(JOBS)
	bash fuzz/run.sh $(FUZZDIR) $(FUZZ_SECONDS)

# Installs tesmo and tesmo-tools in $(PREFIX)/bin, the README and the examples in
# $(PREFIX)/share/doc/tesmo.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Meshes every example and redraws its picture in docs/.
examples: build
	bash examples/mesh_all.sh $(BUILD)

clean:
	rm -rf build out
