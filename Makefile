# One-command set-up: installs what is missing, builds in build/, then plays or tests.
BUILD := build
PKGS  := g++ cmake pkg-config qt6-base-dev qt6-svg-dev libsdl2-mixer-dev libgtest-dev fonts-ipafont-gothic
JOBS  := $(shell nproc 2>/dev/null || echo 2)

PREFIX ?= $(HOME)/.local
WINDOW_PKGS := xvfb xdotool x11-utils imagemagick openbox

.PHONY: run test bench build deps clean install uninstall check-window deps-window coverage mutants sanitize

run: build
	cd $(BUILD) && ./mofuran

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# Prints every benchmark figure, one a line.
bench: build
	bench/run.sh $(BUILD)

# Per user, no root: the program folder (and so the save files) is $(PREFIX)/share/mofuran.
install: build
	tools/install/install.sh $(BUILD) "$(PREFIX)"

# Keeps the save files, and says where they are.
uninstall:
	tools/install/uninstall.sh "$(PREFIX)"

# The real program under Xvfb, played with real keys from a copy of the build; prints one line a step.
check-window: build deps-window
	tools/check_window/check_window.sh $(BUILD)

deps-window:
	@$(MAKE) --no-print-directory deps PKGS="$(WINDOW_PKGS)"

# Line and branch coverage of src/ by every test, from an instrumented copy in build-coverage/; prints figures.
coverage: deps
	@$(MAKE) --no-print-directory deps PKGS="gcovr ninja-build"
	python3 tools/coverage/coverage.py

# Small faults put into src/ one at a time; prints how many the tests catch. N mutants sampled with SEED.
N ?= 60
SEED ?= 1
# FOLDERS: comma-separated source folders; every folder of src/ when not given.
FOLDERS ?=
MINUTES ?= 0
mutants: deps
	@$(MAKE) --no-print-directory deps PKGS="python3 ninja-build"
	python3 tools/mutants/mutants.py --n $(N) --seed $(SEED) $(if $(FOLDERS),--folders $(FOLDERS)) --time-limit $(MINUTES)

# Every test under AddressSanitizer and UndefinedBehaviorSanitizer, from a copy built in build-sanitize/.
sanitize: deps
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DMOFURAN_SANITIZE=ON -DMOFURAN_SIM_TRAINED=OFF
	cmake --build build-sanitize -j$(JOBS)
	cd build-sanitize && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

deps:
	@missing=""; \
	for p in $(PKGS); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  sudo=""; [ "$$(id -u)" -eq 0 ] || sudo="sudo"; \
	  echo "installing:$$missing"; \
	  $$sudo apt-get update && \
	  $$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	fi

# Keeps the save files: they live in build/soundMofuran.
clean:
	cmake --build $(BUILD) --target clean
