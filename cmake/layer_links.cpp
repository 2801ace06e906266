// The program each layer is linked into whole, to show it needs nothing above it.
int main() { return 0; }
