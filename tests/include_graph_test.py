"""The include-graph check on small trees: an upcall (a function a machine folder
declares and only a folder above defines) fails it, wherever the definition sits; a
machine function defined in the machine, or a host helper of the same name, does not."""
import pathlib
import subprocess
import sys
import tempfile

CHECK = pathlib.Path(__file__).resolve().parent.parent / "scripts" / "include_graph.py"

CASES = [
    # (files, fails)
    ({"ted/keys.h": "#pragma once\nbool readKeys(unsigned char state[256]);\n",
      "shell/keys.cpp": '#include "ted/keys.h"\nbool readKeys(unsigned char state[256]) {\n    return true;\n}\n'},
     True),
    ({"machine/end.h": "#pragma once\nnamespace m {\nvoid serveEnd();\n}\n",
      "host/end.cpp": '#include "machine/end.h"\nvoid m::serveEnd() {}\n'},
     True),
    ({"ted/keys.h": "#pragma once\nstruct K {\n    void scan();\n};\nvoid scanKeys(int value);\n",
      "ted/keys.cpp": '#include "ted/keys.h"\nvoid K::scan() {}\nvoid scanKeys(int) {}\n',
      "host/other.cpp": "namespace {\nvoid scanKeys(int) {}\n}  // namespace\n"},
     False),
]


def main():
    failures = 0
    for number, (files, fails) in enumerate(CASES):
        with tempfile.TemporaryDirectory() as folder:
            for name, text in files.items():
                path = pathlib.Path(folder) / name
                path.parent.mkdir(parents=True, exist_ok=True)
                path.write_text(text)
            run = subprocess.run([sys.executable, str(CHECK), folder], capture_output=True, text=True)
            if (run.returncode != 0) != fails or (fails and "upcall" not in run.stdout and "declares" not in run.stdout):
                failures += 1
                print(f"case {number}: expected {'a failure' if fails else 'a pass'}, got\n{run.stdout}")
    print(f"include graph check: {len(CASES) - failures} of {len(CASES)} cases as expected")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
