// e2e_tests PLAYER.EXE [gtest flags]
#include <gtest/gtest.h>

#include "tests/e2e/Harness.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    fprintf(stderr, "usage: e2e_tests PLAYER.EXE [gtest flags]\n");
    return 2;
  }
  PlayerPath = argv[1];
  return RUN_ALL_TESTS();
}
