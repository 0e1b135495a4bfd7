// BarePosts.cpp: the floor of a scripted update check as a whole process: a minimal
// program that POSTs one request per package and ends.
//   bare_posts PROXY HOST NAME...
#include "tests/network/bench/BarePost.h"

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    int failed = 0;
    for (int i = 3; i < argc; ++i)
        failed += BarePost(argv[1], argv[2], argv[i]) ? 0 : 1;
    return failed ? 1 : 0;
}
