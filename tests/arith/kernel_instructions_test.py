"""Checks that the program runs on any x86-64 processor: of the arithmetic's object files only
the AVX2 kernel's holds VEX-encoded (AVX) instructions, and only the SSE4.1 kernel's holds
SSE4.1 instructions, each only in that file's own .text section, never in a section of an
inline function that the linker could pick for another file.

    python3 kernel_instructions_test.py OBJDUMP OBJECT...
"""

import re
import subprocess
import sys

# The instructions that each kernel's object file alone may hold.
OWNED = {
    "trial_division_avx2": re.compile(r"\tv[a-z0-9]+ "),
    "trial_division_sse41": re.compile(
        r"\t(pmulld|round[ps][sd]|p?blendv?[a-z]*|ptest|pm(in|ax)[su][bdw]|pmov[sz]x[a-z]*|"
        r"pextr[bdq]|pinsr[bdq]|insertps|extractps|dpp[sd]|mpsadbw|packusdw|pcmpeqq|"
        r"phminposuw|movntdqa) "),
}


def main(objdump, *objects):
    wrong = [f"no object of {kernel} among the objects" for kernel in OWNED
             if not any(kernel in path for path in objects)]
    for path in objects:
        listing = subprocess.run([objdump, "-d", "--no-show-raw-insn", path], check=True,
                                 capture_output=True, text=True).stdout
        section = None
        for line in listing.splitlines():
            heading = re.match(r"Disassembly of section (\S+):", line)
            if heading:
                section = heading.group(1)
                continue
            for kernel, instructions in OWNED.items():
                if instructions.search(line) and (kernel not in path or section != ".text"):
                    wrong.append(f"{path}, section {section}: {line.strip()}")
    if wrong:
        raise SystemExit("Instructions where a processor without them would run them:\n" +
                         "\n".join(wrong[:20]))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    main(*sys.argv[1:])
