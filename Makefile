# Lexomir — the two everyday commands are `make run` and `make test`.
BUILD_DIR := build
SOURCES_DIR := $(BUILD_DIR)/sources
NPM_STAMP := node_modules/.lexomir-npm-ci

.PHONY: all deps build run test test-asan faults check-format package package-check clean

all: build

deps: $(NPM_STAMP)
	tools/setup/install-debian-packages.sh
	tools/setup/fetch-cnchar-data.sh $(SOURCES_DIR)/cnchar-data
	tools/setup/fetch-chinese-poetry.sh $(SOURCES_DIR)/chinese-poetry

# npm ci wipes node_modules, so only rerun it when the lock file changes.
$(NPM_STAMP): package-lock.json
	tools/setup/install-debian-packages.sh
	npm ci --no-audit --no-fund
	touch $@

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	tools/run-sample.sh $(BUILD_DIR)

# ctest keeps a passing test's output to itself; the fault suite's closing
# count is worth seeing in every run.
FAULT_SUMMARY = grep -h '^faults: ' $(1)/Testing/Temporary/LastTest.log || true

test: build check-format
	ctest --preset default
	@$(call FAULT_SUMMARY,$(BUILD_DIR))
	$(MAKE) test-asan
	$(MAKE) test-fuzz
	$(MAKE) package-check

# Every tracked C++ file as .clang-format says; a difference fails the run.
check-format:
	tools/setup/install-debian-packages.sh
	tools/checks/check-format.sh

# The .deb and the portable .tar.gz in build/: the programs again, for /usr
# and with Debian's build flags (all hardening), beside the data the normal
# build made.
DEB_FLAGS := DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
package: build
	tools/setup/install-debian-packages.sh
	rm -f $(BUILD_DIR)/lexomir_*.deb $(BUILD_DIR)/lexomir-*.tar.gz
	cmake --preset package \
	  -DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) CPPFLAGS) $$($(DEB_FLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)"
	cmake --build --preset package
	cpack --preset package

# lintian, desktop-file-validate and appstreamcli on the package, then both
# programs run from the unpacked tree.
package-check: package
	packaging/check-package.sh $(BUILD_DIR)

# The fault suite alone, with its per-trial report.
faults: build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/tests/faults/lexomir_fault_suite

# The sanitizer build runs the same suite on fixture data; the real data set
# is built once, by the normal build.
test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan
	@$(call FAULT_SUMMARY,build-asan)

# libFuzzer targets of the core (clang). Every folder in tests/fuzz/corpus is
# the seed corpus of the target of that name.
FUZZ_DIR := build-fuzz
FUZZ_SECONDS := 60
FUZZ_TARGETS := $(notdir $(wildcard tests/fuzz/corpus/*))

.PHONY: fuzz fuzz-build test-fuzz

fuzz-build:
	tools/setup/install-debian-packages.sh
	cmake --preset fuzz
	cmake --build --preset fuzz

# Each target for FUZZ_SECONDS on a scratch copy of its seeds; crash inputs
# land in $(FUZZ_DIR)/artifacts/<target>/.
fuzz: fuzz-build
	@status=0; for target in $(FUZZ_TARGETS); do \
	  tests/fuzz/run-fuzzer.sh $(FUZZ_DIR)/tests/fuzz/$$target tests/fuzz/corpus/$$target \
	    $(FUZZ_DIR) $(FUZZ_SECONDS) || status=1; \
	done; exit $$status

# A few seconds per target, as part of make test.
test-fuzz: fuzz-build
	ctest --preset fuzz

clean:
	rm -rf $(BUILD_DIR) build-asan build-coverage build-package $(FUZZ_DIR)
