"""Runs the kernels' tests and the program under qemu-user as one x86-64 processor would:
each kernel must be usable exactly where the processor has its instructions (SSE4.1 from
Penryn on, which has no SSE4.2, not on Conroe; AVX2 on max, not without AVX on Nehalem nor
with AVX alone on SandyBridge), listed from the plain one to the fastest, which the program
takes; the kernels' edges must hold, and the program must show what it shows natively.

    python3 emulated_processor_test.py QEMU CPU UNIT_TESTS PROGRAM
"""

import re
import subprocess
import sys
import tempfile

KERNEL_TESTS = ("*TrialDivisionKernel.AnswersTheEdges/*:"
                "*TrialDivisionKernel.FindsTheSmallestFactor*:*NextPrimeEdges*")
# The kernels that each processor must get, in their order: the last is the one chosen.
EXPECTED_KERNELS = {"Conroe": ["plain", "sse2"], "Penryn": ["plain", "sse2", "sse41"],
                    "Nehalem": ["plain", "sse2", "sse41"],
                    "SandyBridge": ["plain", "sse2", "sse41"],
                    "max": ["plain", "sse2", "sse41", "avx2"]}
RANGES = ("1\n5000\n", "4294957660\n4294957678\n")


def main(qemu, cpu, unit_tests, program):
    emulated = [qemu, "-cpu", cpu]
    listed = subprocess.run(emulated + [unit_tests, "--gtest_list_tests",
                                        "--gtest_filter=*TrialDivisionKernel*"],
                            check=True, capture_output=True, text=True).stdout
    kernels = list(dict.fromkeys(re.findall(r"^  \w+/(\w+)", listed, re.MULTILINE)))
    if kernels != EXPECTED_KERNELS[cpu]:
        raise SystemExit(f"as {cpu}, the kernels usable are {kernels}")
    subprocess.run(emulated + [unit_tests, "--gtest_brief=1", f"--gtest_filter={KERNEL_TESTS}"],
                   check=True)
    for typed in RANGES:
        with tempfile.TemporaryDirectory() as folder:
            shown = [subprocess.run(command + [program], input=typed.encode(), cwd=folder,
                                    capture_output=True, check=True, timeout=300).stdout
                     for command in ([], emulated)]
        if shown[0] != shown[1]:
            raise SystemExit(f"as {cpu}, {typed!r} shows {shown[1]!r}, not {shown[0]!r}")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        raise SystemExit(__doc__)
    main(*sys.argv[1:])
