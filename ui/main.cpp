#include <cstdio>

int main() {
    std::puts("veltrano: the wall control core is built; the operator interface is not built yet.");
    return 0;
}
