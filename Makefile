# The two commands of the README, plus the packages, the benchmark, the fuzzing campaign, the soak
# and formatting.
.PHONY: deps test run dist bench fuzz soak format clean

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

fuzz: deps
	@scripts/run-fuzz.sh

soak: deps
	@scripts/run-soak.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist
