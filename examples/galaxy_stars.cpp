// galaxy_stars CODE [STAR]: the stars of a galaxy code as CSV, as galaxy_viewer --export
// writes them, or with a star number that star's system as JSON, as --system prints it.
// A consumer of the installed galaxy_core library: it includes and links nothing else.
#include <galaxy_core.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 2 && argc != 3)
    {
        std::fprintf(stderr, "usage: galaxy_stars CODE [STAR]\n");
        return 2;
    }
    galaxy_core::Shape shape;
    std::string why;
    if (!galaxy_core::DecodeCode(argv[1], &shape, &why))
    {
        std::fprintf(stderr, "galaxy_stars: %s: %s\n", argv[1], why.c_str());
        return 2;
    }
    if (argc == 3)
    {
        char *end = nullptr;
        const uint64_t star = std::strtoull(argv[2], &end, 10);
        std::string json;
        if (argv[2][0] < '0' || argv[2][0] > '9' || *end != '\0' ||
            !galaxy_core::MakeSystemJson(shape, star, &json, &why))
        {
            std::fprintf(stderr, "galaxy_stars: star %s: %s\n", argv[2],
                         why.empty() ? "not a star number" : why.c_str());
            return 2;
        }
        std::fputs(json.c_str(), stdout);
        return 0;
    }

    std::vector<galaxy_core::Star> stars;
    if (!galaxy_core::MakeStars(shape, &stars, &why))
    {
        std::fprintf(stderr, "galaxy_stars: %s\n", why.c_str());
        return 2;
    }
    // Nine significant digits give back every float exactly.
    std::printf("index,x,y,z\n");
    for (size_t i = 0; i < stars.size(); i++)
        std::printf("%zu,%.9g,%.9g,%.9g\n", i, (double)stars[i].x, (double)stars[i].y, (double)stars[i].z);
    return 0;
}
