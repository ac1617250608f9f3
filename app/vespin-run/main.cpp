// vespin-run: the headless runner. Runs a machine for a number of frames and prints what the
// options ask for.
#include <cstdio>

int main() {
    std::fprintf(stderr, "vespin-run: not yet able to run a machine\n");
    return 2;
}
