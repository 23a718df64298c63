// Links every object of the program logic with nothing above it; see the
// link check in CMakeLists.txt. It is built, never run.
int main() { return 0; }
