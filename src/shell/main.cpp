// The tesmo console program.
int main() { return 0; }
