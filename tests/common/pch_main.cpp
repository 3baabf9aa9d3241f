// Only here to carry the precompiled headers the test executables share.
int main() { return 0; }
