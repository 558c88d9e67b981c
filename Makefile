# Lexomir — the two everyday commands are `make run` and `make test`.
BUILD_DIR := build
SOURCES_DIR := $(BUILD_DIR)/sources
NPM_STAMP := node_modules/.lexomir-npm-ci

.PHONY: all deps build run test test-asan clean

all: build

deps: $(NPM_STAMP)
	tools/setup/install-debian-packages.sh
	tools/setup/fetch-cnchar-data.sh $(SOURCES_DIR)/cnchar-data

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

test: build
	ctest --preset default
	$(MAKE) test-asan

# The sanitizer build runs the same suite on fixture data; the real data set
# is built once, by the normal build.
test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

clean:
	rm -rf $(BUILD_DIR) build-asan build-coverage
