# The two commands of the README, plus the packages, the benchmark and formatting.
.PHONY: deps test run dist bench format clean

deps:
	@scripts/install-deps.sh

test: deps
	@scripts/run-tests.sh

run: deps
	@scripts/run-torvex.sh

dist: deps
	@scripts/make-dist.sh

bench: deps
	@scripts/run-bench.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist
