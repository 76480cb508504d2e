"""Checks that the program runs on any x86-64 processor: of the arithmetic's object files only
the AVX2 kernel's holds VEX-encoded (AVX) instructions, and only in its own .text section,
never in a section of an inline function that the linker could pick for another file.

    python3 avx_only_in_its_kernel.py OBJDUMP OBJECT...
"""

import re
import subprocess
import sys

KERNEL = "trial_division_avx2"


def main(objdump, *objects):
    wrong = []
    for path in objects:
        listing = subprocess.run([objdump, "-d", "--no-show-raw-insn", path], check=True,
                                 capture_output=True, text=True).stdout
        section = None
        for line in listing.splitlines():
            heading = re.match(r"Disassembly of section (\S+):", line)
            if heading:
                section = heading.group(1)
            elif re.search(r"\tv[a-z0-9]+ ", line) and (KERNEL not in path or section != ".text"):
                wrong.append(f"{path}, section {section}: {line.strip()}")
                break
    if not any(KERNEL in path for path in objects):
        wrong.append(f"no object of {KERNEL} among {objects}")
    if wrong:
        raise SystemExit("AVX instructions where a processor without AVX would run them:\n" +
                         "\n".join(wrong))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    main(*sys.argv[1:])
