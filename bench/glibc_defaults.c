// Makes a build's allocator settings no-ops, so that it runs with glibc's defaults:
//     cc -shared -fPIC -O2 -o glibc_defaults.so bench/glibc_defaults.c
//     bench/scan_sides.py TREE now=SCAN defaults=SCAN,LD_PRELOAD=$PWD/glibc_defaults.so
int mallopt(int param, int value)
{
    (void)param;
    (void)value;
    return 1;
}
