# Entry points for a newcomer. `make test` installs what is missing, configures, builds and runs the tests.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
BENCH_BUILD ?= build-bench
# The Debian package is built in a tree of its own, with Debian's hardening flags.
PACKAGE_BUILD ?= build-package
# Warnings fail the build here and in CI; `make test WERROR=OFF` for a compiler that warns differently.
WERROR ?= ON
# Where `make install` puts the program; DESTDIR=/some/stage installs below a staging directory.
PREFIX ?= /usr/local

.PHONY: all deps configure build run test check-window-manager demo screenshots install package check-package check-fresh-install sanitize bench clean

all: build

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVA_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD)

# Builds and starts the desktop program. Its settings and log live beside it, in $(BUILD)/src/.
run: build
	./$(BUILD)/src/morva

test: build
	cd $(BUILD) && ctest --output-on-failure -j2

# The desktop program under Xvfb and openbox (real frames and placement): it fits a 1366x768 screen and
# keeps its place over restarts. Not part of `make test`: a window manager under heavy load sometimes
# places a window itself, whatever the program asked.
check-window-manager: build
	./tests/ui/window_manager_check.sh ./$(BUILD)/src/morva

demo: build
	MORVA_CLI=./$(BUILD)/src/morva-cli ./scripts/demo.sh

# Every window of the desktop program as a PNG file under $(BUILD)/screenshots/, rendered without a display.
# Also the first start on a 1366x768 laptop screen at scale factors 1 and 2, as desktop_1366x768*.png, and
# the main window and the job pages in English under $(BUILD)/screenshots/english/.
screenshots: build
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/tests/morva-screenshots $(BUILD)/screenshots
	QT_QPA_PLATFORM=offscreen ./$(BUILD)/tests/morva-screenshots --english $(BUILD)/screenshots/english
	QT_QPA_PLATFORM=offscreen:configfile=$(CURDIR)/$(BUILD)/tests/screen_1366x768_scale_1.json \
	  ./$(BUILD)/tests/morva-screenshots --desktop $(BUILD)/screenshots/desktop_1366x768.png
	QT_QPA_PLATFORM=offscreen:configfile=$(CURDIR)/$(BUILD)/tests/screen_1366x768_scale_2.json QT_SCALE_FACTOR=2 \
	  ./$(BUILD)/tests/morva-screenshots --desktop $(BUILD)/screenshots/desktop_1366x768_scale_2.png

# morva and morva-cli in $(PREFIX)/bin, the help document in $(PREFIX)/share/morva, the menu entry, the
# icon, the manual page morva-cli.1 and the bash completion. Settings then live in ~/.config/morva.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package $(PACKAGE_BUILD)/morva_<version>_amd64.deb (installs under /usr): apt install
# ./morva_*.deb. Built with the flags dpkg-buildflags gives with every hardening feature on (fortified
# functions, stack protector, read-only relocations bound at once, position-independent executables),
# as a Debian package build would; build type None so that they are the only optimisation flags.
package: deps
	./scripts/build-package.sh $(PACKAGE_BUILD)

# lintian on that package, and its programs checked for the hardening features.
check-package: package
	./scripts/check-package.sh $(PACKAGE_BUILD)/morva_*_amd64.deb

# apt install of that package on a fresh Debian 12 chroot, both programs used there, apt remove (root).
check-fresh-install: package
	./scripts/check-fresh-install.sh $(PACKAGE_BUILD)/morva_*_amd64.deb

sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMORVA_SANITIZE=ON -DMORVA_BENCH=OFF -DMORVA_WERROR=$(WERROR)
	cmake --build $(SANITIZE_BUILD)
	cd $(SANITIZE_BUILD) && ctest --output-on-failure -j2

# A tree of its own, optimised (Ninja builds one configuration per tree, so --config would do nothing).
# No -Werror: CI does not build it, and gcc 12 at -O3 warns of overlapping copies inside std::string that
# are not there (-Wrestrict).
bench: deps
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DMORVA_BENCH=ON
	cmake --build $(BENCH_BUILD) --target benchmarks
	@echo "benchmarks are in $(BENCH_BUILD)/bench/, the morva-cli they compare in $(BENCH_BUILD)/src/"

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(BENCH_BUILD)
