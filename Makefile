# Shortcuts for developers; the README's two commands are scripts/run and scripts/test.
.PHONY: run test format

run:
	scripts/run

test:
	scripts/test

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
