# Thin wrapper over CMake: the two newcomer commands are `make run` and `make test`.
BUILD      ?= build/release
CHECK      ?= build/check
SANITIZE   ?= build/sanitize
BENCHDIR   ?= build/bench
JOBS       ?= 2
PREFIX     ?= /usr/local

.PHONY: all build run test sanitize bench clean install examples

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
