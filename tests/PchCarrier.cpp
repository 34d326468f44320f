// The program that builds the test programs' shared precompiled header (cmake/Kelo.cmake).
int main() {
    return 0;
}
