# Two commands do everything on a fresh Debian 12 machine:
#   make run    installs what is missing, builds and starts the program
#   make test   installs what is missing, builds and runs every test headless
BUILD ?= build
PACKAGES = qt6-base-dev libqt6sql6-sqlite qt6-svg-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n cmake g++ ninja-build xvfb xauth \
           xdotool x11-utils openbox imagemagick fonts-dejavu-core sqlite3
# Only `make package` needs these.
PACKAGE_TOOLS = desktop-file-utils appstream lintian dpkg-dev file
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build run test bench package clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD)

run: build
	cd $(BUILD)/bin && ./kalvado

test: build
	cd $(BUILD) && ctest --output-on-failure -j2

bench: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/kalvado_bench

# build/kalvado_<version>_<arch>.deb, checked the way Debian checks it.
package:
	$(MAKE) configure PACKAGES="$(PACKAGES) $(PACKAGE_TOOLS)"
	cmake --build $(BUILD) --target kalvado kalvado_docs
	cd $(BUILD) && cpack -G DEB
	desktop-file-validate packaging/org.kalvado.Kalvado.desktop
	appstreamcli validate --no-net $(BUILD)/packaging/org.kalvado.Kalvado.metainfo.xml
	lintian -I --pedantic $(BUILD)/kalvado_*.deb
	@ls $(BUILD)/kalvado_*.deb

clean:
	rm -rf $(BUILD)
