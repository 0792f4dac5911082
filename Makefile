# Everything needed on a fresh Debian 12 machine: `make demo`, `make test`, `make package`.
BUILD ?= build
TYPE ?= Release
CMAKE_FLAGS ?=

DEPS := cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev \
        libhidapi-dev libudev-dev qt6-base-dev qt6-multimedia-dev fonts-wqy-zenhei \
        fonts-liberation2 clang libclang-rt-14-dev poppler-utils libcurl4-openssl-dev \
        python3-pyftpdlib pure-ftpd openssl dpkg-dev file desktop-file-utils
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Fuzzing: `make fuzz SECONDS=N [FUZZERS="fuzz_sample_csv ..."]`.
FUZZ_BUILD ?= build-fuzz
FUZZERS ?= fuzz_pulse_file fuzz_rate_file fuzz_sample_csv fuzz_byte_intake fuzz_language_table
SECONDS ?= 30

PACKAGE_BUILD ?= build-package

.PHONY: all deps build test demo bench install package fuzz clean

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
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/tondrela-gui-bench

# Builds the fuzzers with clang in $(FUZZ_BUILD) (optimised, with address and
# undefined-behaviour sanitizers) and runs each for SECONDS seconds, starting from its seed
# corpus fuzz/corpus/<name>. New inputs collect in $(FUZZ_BUILD)/corpus/<name>; an input that
# fails is saved in $(FUZZ_BUILD)/findings/ and stops the run.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DTONDRELA_GUI=OFF -DTONDRELA_TESTS=OFF -DTONDRELA_BENCH=OFF -DTONDRELA_FUZZ=ON
	cmake --build $(FUZZ_BUILD) --target $(FUZZERS)
	@for f in $(FUZZERS); do \
	    mkdir -p $(FUZZ_BUILD)/corpus/$$f $(FUZZ_BUILD)/findings && \
	    echo "=== $$f: $(SECONDS) s" && \
	    $(FUZZ_BUILD)/fuzz/$$f $(FUZZ_BUILD)/corpus/$$f fuzz/corpus/$$f \
	        -max_total_time=$(SECONDS) -rss_limit_mb=2048 -print_final_stats=1 \
	        -artifact_prefix=$(FUZZ_BUILD)/findings/$$f- || exit 1; \
	done

install: build
	cmake --install $(BUILD)

# The Debian package: a Release build for the prefix /usr with the system layout
# (TONDRELA_SYSTEM_INSTALL), packed by CPack into $(PACKAGE_BUILD)/tondrela_<version>_<arch>.deb.
package: deps
	cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	    -DTONDRELA_SYSTEM_INSTALL=ON -DTONDRELA_TESTS=OFF -DTONDRELA_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_BUILD)
	cd $(PACKAGE_BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
