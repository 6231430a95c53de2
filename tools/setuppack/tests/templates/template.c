/* A minimal Windows program: the test template that the resource writer rewrites. */
int main(void) { return 0; }
