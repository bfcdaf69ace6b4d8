# Two commands for a fresh Debian 12 machine: `make run` and `make test`.
# Both install whatever Debian packages are missing, configure, and build first.

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

# Everything the build, the program and the tests need, by Debian package name.
PACKAGES := \
	cmake make g++ pkg-config \
	qt6-base-dev qt6-base-private-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools \
	qt6-qpa-plugins qt6-translations-l10n libgl-dev \
	qt6-multimedia-dev pulseaudio pulseaudio-utils \
	xvfb xauth openbox gnome-shell trayer xdotool x11-utils x11-xserver-utils imagemagick faketime \
	libxcb1-dev libxcb-xfixes0-dev libxcb-dpms0-dev libxcb-screensaver0-dev python3 \
	qt6-wayland weston dbus-daemon python3-dbus python3-gi \
	fonts-dejavu-core appstream desktop-file-utils dpkg-dev \
	libglib2.0-dev libqt6svg6 libcap-dev libcap2-bin

.PHONY: all deps configure build install run test bench clean format

all: build

deps:
	@missing=""; \
	for pkg in $(PACKAGES); do \
		dpkg-query -W -f='$${Status}\n' "$$pkg" 2>/dev/null | grep -q 'install ok installed' \
			|| missing="$$missing $$pkg"; \
	done; \
	if [ -n "$$missing" ]; then \
		if [ "$$(id -u)" -eq 0 ]; then \
			echo "Installing:$$missing"; \
			apt-get update -q && \
			DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
		else \
			echo "Missing Debian packages. Please run as root:"; \
			echo "  apt-get install -y --no-install-recommends$$missing"; \
			exit 1; \
		fi; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR) --parallel $(JOBS)

# Under /usr/local unless PREFIX says otherwise; run as root, it also gives
# the wake-up helper its capability.
PREFIX ?= /usr/local

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The program looks for "photos" and "translations" in its working directory,
# so it is started from the build folder, where the catalogues are compiled to.
run: build
	cd $(BUILD_DIR) && ./dorvex $(ARGS)

# Most tests wait on X servers and processes rather than on the processor,
# so four run side by side even on two cores.
TEST_JOBS ?= 4

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 300 --parallel $(TEST_JOBS)

bench: deps
	bench/run-benchmarks

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
