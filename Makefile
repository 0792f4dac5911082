# Everything needed on a fresh Debian 12 machine: `make demo`, `make test`.
BUILD ?= build
TYPE ?= Release
CMAKE_FLAGS ?=

DEPS := cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
        libhidapi-dev libudev-dev qt6-base-dev qt6-multimedia-dev fonts-wqy-zenhei \
        clang libclang-rt-14-dev poppler-utils
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build test demo bench install clean

all: build

# Installs the Debian packages that are missing (nothing when all are there).
deps:
	@missing=$$(for p in $(DEPS); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null \
	    | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing: $$missing"; \
	    $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(TYPE) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2

demo: build
	$(BUILD)/stage/bin/tondrela --simulate

bench: build
	$(BUILD)/bench/tondrela-bench

install: build
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD)
