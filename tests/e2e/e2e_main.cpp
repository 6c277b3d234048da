// e2e_tests <Ternavo.exe> <slow tool>: the program under test and the stand-in network tool.
#include <cstdio>

#include <gtest/gtest.h>

#include "driver.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: e2e_tests <Ternavo.exe> <slow tool>\n");
    return 2;
  }
  e2e::Configure(argv[1], argv[2]);
  return RUN_ALL_TESTS();
}
