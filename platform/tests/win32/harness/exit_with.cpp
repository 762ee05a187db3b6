// Exits with the code given as its argument: checks that the runner passes exit codes through.
#include <cstdlib>

int main(int argc, char** argv) { return argc == 2 ? std::atoi(argv[1]) : 100; }
