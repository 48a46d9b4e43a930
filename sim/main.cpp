#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: ostrel-sim parse|replay ...\n");
    return 2;
  }
  std::fprintf(stderr, "ostrel-sim: unknown command '%s'\n", argv[1]);
  return 2;
}
