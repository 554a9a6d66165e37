# Everything a fresh Debian 12 machine needs: `make run` and `make test`.

BUILD_DIR ?= build
JOBS ?= $(shell nproc)
RUNTIME_DIR := $(BUILD_DIR)/runtime

# libclang-rt-dev holds libFuzzer; clang only recommends it and recommends
# are not installed here.
PACKAGES := build-essential cmake pkg-config clang libclang-rt-dev \
	libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev \
	libgl-dev libglu1-mesa-dev libgl1-mesa-dri \
	googletest libgtest-dev libbenchmark-dev libstb-dev fonts-dejavu-core \
	xvfb xauth xdotool x11-apps imagemagick python3 \
	desktop-file-utils appstream dpkg-dev file lintian x11-utils

SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: all deps configure build run test fuzz bench install package clean

all: build

# Installs only what is missing, so a second call costs one dpkg query.
deps:
	@missing=$$(for p in $(PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -q && \
		$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $$missing; \
	fi

configure: deps
	@[ -f $(BUILD_DIR)/CMakeCache.txt ] || cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(RUNTIME_DIR) && ./tavrelo

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j 2

# PREFIX (default /usr/local) and DESTDIR as usual: make install PREFIX=/usr DESTDIR=/tmp/stage
PREFIX ?= /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# A Debian package of the game for /usr: $(BUILD_DIR)/tavrelo_<version>_<arch>.deb
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# Every fuzz target for FUZZ_SECONDS each (five minutes by default), one
# after another; `make test` runs them only briefly.
FUZZ_SECONDS ?= 300
fuzz: build
	cmake -DSECONDS=$(FUZZ_SECONDS) -P $(BUILD_DIR)/tests/fuzz/fuzz_all.cmake

# Every benchmark program, then the memory run (which starts its own X
# server). Without a display the benchmarks get a private Xvfb, as the tests
# do. Fails when any of them fails, after running them all.
BENCH_X := $(if $(DISPLAY),,python3 $(CURDIR)/tests/xvfb_exec.py)
bench: build
	@status=0; \
	for b in $(abspath $(BUILD_DIR))/bench/*; do \
		[ -f "$$b" ] && [ -x "$$b" ] || continue; \
		echo "== $$(basename $$b)"; \
		(cd $(RUNTIME_DIR) && $(BENCH_X) "$$b") || { echo "$$(basename $$b) failed"; status=1; }; \
	done; \
	echo "== memory_run.py"; \
	python3 bench/memory_run.py || { echo "memory_run.py failed"; status=1; }; \
	exit $$status

clean:
	rm -rf $(BUILD_DIR)
