// The start-up floor: a C++ program linked to the standard library alone.
#include <iostream>

int main() { std::cout << "hello, world\n"; }
