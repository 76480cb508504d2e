/* The plain C loop as a program of its own, the yardstick for timing the whole program:
   plain_c_scan FIRST LAST prints how many numbers from FIRST to LAST are sphenic. */
#include <stdio.h>
#include <stdlib.h>

#include "plain_c_scan.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: plain_c_scan FIRST LAST\n");
    return 2;
  }
  printf("%u\n", plain_c_count_sphenic((unsigned)strtoul(argv[1], NULL, 10),
                                       (unsigned)strtoul(argv[2], NULL, 10)));
  return 0;
}
