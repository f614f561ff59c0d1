#include <cstdio>

int main() {
  std::fputs("korvane-cli: no commands yet\n", stderr);
  return 1;
}
