# make run: install what is missing, build, start the program.
# make test: the same set-up, then the whole test suite through CTest.
# make test-asan: the whole suite again, built with AddressSanitizer and UBSan, stopping at the first report.
# make fuzz: the libFuzzer targets of fuzz/, built with clang, each run FUZZ_SECONDS from its seeds in fuzz/corpus.
# make package: the Debian package of the program, its tools, menu entry and icon, in the build folder.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 30
FUZZ_TARGETS = recupera rutinas vantrix dremlo llave nombres requerimiento pliegue
JOBS ?= $(shell nproc)
SANITIZERS = -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=undefined,float-cast-overflow -fno-omit-frame-pointer

.PHONY: setup build run test test-asan fuzz bench package clean

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/programa/tolvek

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-asan: setup
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$(SANITIZERS)"
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

fuzz: setup
	@bash scripts/setup.sh clang libclang-rt-dev
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTOLVEK_FUZZ=ON \
		-DCMAKE_CXX_FLAGS="$(SANITIZERS) -fsanitize=fuzzer-no-link"
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_targets
	@for t in $(FUZZ_TARGETS); do \
		echo "== fuzz_$$t, $(FUZZ_SECONDS) s"; \
		mkdir -p $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/hallazgos; \
		$(FUZZ_DIR)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=25 -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_DIR)/hallazgos/$$t- $(FUZZ_DIR)/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

bench: build
	cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks
	@for b in $(BUILD_DIR)/bench/bench_*; do \
		if [ -f "$$b" ] && [ -x "$$b" ]; then echo "== $$b"; "$$b" || exit 1; fi; \
	done

# dpkg-shlibdeps (dpkg-dev) and file work out the package's dependencies from its binaries.
package: setup
	@bash scripts/setup.sh dpkg-dev file
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS) --target tolvek vantrix Dremlo kfirma32
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
