// The Python module galaxy_core: galaxy codes, stars as numpy arrays, a star's system as a
// dict and the name search, through the C++ facade, so every result equals galaxy_viewer's.
// Bad input raises ValueError (a code, a value out of range), TypeError (a value that is not a
// whole number) or IndexError (a star number) with the reason.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <galaxy_core.h>

#include <cstring>

namespace py = pybind11;

namespace
{
struct SHAPE_FIELD_T
{
    const char *name;
    int32_t galaxy_core::Shape::*field;
};

// The dict's keys, in the order a galaxy code carries them; the seed is apart (unsigned).
constexpr SHAPE_FIELD_T SHAPE_FIELDS[] = {
    {"size_xz", &galaxy_core::Shape::size_xz},
    {"size_y", &galaxy_core::Shape::size_y},
    {"inner_radius", &galaxy_core::Shape::inner_radius},
    {"bulge_size", &galaxy_core::Shape::bulge_size},
    {"bulge_offset0", &galaxy_core::Shape::bulge_offset0},
    {"bulge_offset1", &galaxy_core::Shape::bulge_offset1},
    {"arms", &galaxy_core::Shape::arms},
    {"curvature", &galaxy_core::Shape::curvature},
    {"density", &galaxy_core::Shape::density},
    {"model", &galaxy_core::Shape::model},
    {"pitch", &galaxy_core::Shape::pitch},
    {"bulge_share", &galaxy_core::Shape::bulge_share},
    {"bar_length", &galaxy_core::Shape::bar_length},
    {"arm_width", &galaxy_core::Shape::arm_width},
    {"arm_contrast", &galaxy_core::Shape::arm_contrast},
};

galaxy_core::Shape ShapeOfCode(const std::string &code)
{
    galaxy_core::Shape shape;
    std::string why;
    if (!galaxy_core::DecodeCode(code, &shape, &why))
        throw py::value_error("galaxy code " + code + ": " + why);
    return shape;
}

std::vector<galaxy_core::Star> StarsOfCode(const std::string &code)
{
    const galaxy_core::Shape shape = ShapeOfCode(code);
    std::vector<galaxy_core::Star> stars;
    std::string why;
    bool made = false;
    {
        py::gil_scoped_release unlocked;
        made = galaxy_core::MakeStars(shape, &stars, &why);
    }
    if (!made) throw py::value_error("galaxy code " + code + ": " + why);
    return stars;
}

py::array_t<float> StarPlaces(const std::string &code)
{
    const std::vector<galaxy_core::Star> stars = StarsOfCode(code);
    py::array_t<float> out({(py::ssize_t)stars.size(), (py::ssize_t)3});
    auto cells = out.mutable_unchecked<2>();
    for (size_t i = 0; i < stars.size(); i++)
    {
        cells(i, 0) = stars[i].x;
        cells(i, 1) = stars[i].y;
        cells(i, 2) = stars[i].z;
    }
    return out;
}

py::array_t<uint8_t> StarColors(const std::string &code)
{
    const std::vector<galaxy_core::Star> stars = StarsOfCode(code);
    py::array_t<uint8_t> out({(py::ssize_t)stars.size(), (py::ssize_t)3});
    auto cells = out.mutable_unchecked<2>();
    for (size_t i = 0; i < stars.size(); i++)
    {
        cells(i, 0) = stars[i].r;
        cells(i, 1) = stars[i].g;
        cells(i, 2) = stars[i].b;
    }
    return out;
}

// The JSON text --system prints, read by Python's own json module: the dict holds the very
// same names and numbers.
py::object System(const std::string &code, int64_t index)
{
    const galaxy_core::Shape shape = ShapeOfCode(code);
    if (index < 0)
        throw py::index_error("star " + std::to_string(index) + ": a star number is never negative");
    std::string json;
    std::string why;
    bool made = false;
    {
        py::gil_scoped_release unlocked;
        made = galaxy_core::MakeSystemJson(shape, (uint64_t)index, &json, &why);
    }
    if (!made)
    {
        if (galaxy_core::Stars(shape).empty()) throw py::value_error("galaxy code " + code + ": " + why);
        throw py::index_error(why);
    }
    return py::module_::import("json").attr("loads")(json);
}

py::dict DecodeCode(const std::string &code)
{
    const galaxy_core::Shape shape = ShapeOfCode(code);
    py::dict out;
    out["seed"] = shape.seed;
    for (const SHAPE_FIELD_T &f : SHAPE_FIELDS)
        out[f.name] = shape.*f.field;
    return out;
}

// A galaxy value from Python: a whole number. Text, a fraction or True is a TypeError and a
// number beyond 64 bits a ValueError, each naming the key, rather than pybind11's bare cast error.
int64_t WholeNumber(const std::string &key, const py::handle &value)
{
    if (!py::isinstance<py::int_>(value) || py::isinstance<py::bool_>(value))
        throw py::type_error(key + " must be a whole number, not " + std::string(Py_TYPE(value.ptr())->tp_name));
    int overflow = 0;
    const long long number = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
    if (overflow != 0) throw py::value_error(key + " " + std::string(py::str(value)) + " does not fit in 64 bits");
    return (int64_t)number;
}

// Keys left out take galaxy_viewer's defaults (seed 1, four arms, the largest disc); a key it
// does not know is refused, so a misspelt one cannot pass unnoticed.
std::string EncodeCode(const py::dict &values)
{
    galaxy_core::Shape shape = galaxy_core::DefaultShape();
    for (const auto &item : values)
    {
        const std::string key = py::str(item.first);
        if (key == "seed")
        {
            const int64_t seed = WholeNumber(key, item.second);
            if (seed < 0 || seed > 4294967295LL)
                throw py::value_error("seed " + std::to_string(seed) + " is not 0 to 4294967295");
            shape.seed = (uint32_t)seed;
            continue;
        }
        bool known = false;
        for (const SHAPE_FIELD_T &f : SHAPE_FIELDS)
        {
            if (key != f.name) continue;
            const int64_t value = WholeNumber(key, item.second);
            if (value < INT32_MIN || value > INT32_MAX)
                throw py::value_error(key + " " + std::to_string(value) + " does not fit in 32 bits");
            shape.*f.field = (int32_t)value;
            known = true;
        }
        if (!known) throw py::value_error("no galaxy value is called " + key);
    }
    return galaxy_core::EncodeCode(shape);
}

py::list Find(const std::string &code, const std::string &text)
{
    const galaxy_core::Shape shape = ShapeOfCode(code);
    std::vector<galaxy_core::Found> found;
    {
        py::gil_scoped_release unlocked;
        found = galaxy_core::Find(shape, text);
    }
    py::list out;
    for (const galaxy_core::Found &f : found)
        out.append(py::make_tuple(f.index, f.name));
    return out;
}
} // namespace

PYBIND11_MODULE(galaxy_core, m)
{
    m.doc() = "Seeded galaxies and star systems of galaxy_viewer, from their galaxy codes.";
    m.attr("__version__") = galaxy_core::Version();
    m.def("stars", &StarPlaces, py::arg("code"),
          "The stars' places (world units) as an (N, 3) float32 array, in galaxy_viewer --export's order.");
    m.def("colors", &StarColors, py::arg("code"), "The stars' colours as an (N, 3) uint8 array (r, g, b).");
    m.def("system", &System, py::arg("code"), py::arg("index"),
          "Star index's system as a dict: what galaxy_viewer --system prints.");
    m.def("decode_code", &DecodeCode, py::arg("code"), "The seed and values of a galaxy code, as a dict.");
    m.def("encode_code", &EncodeCode, py::arg("values"),
          "The galaxy code of a dict like decode_code's; missing keys take galaxy_viewer's defaults.");
    m.def("find", &Find, py::arg("code"), py::arg("text"),
          "[(index, name)] of the stars whose system names contain text (any case), best first: "
          "what galaxy_viewer --find prints.");
    m.def(
        "default_code", [] { return galaxy_core::EncodeCode(galaxy_core::DefaultShape()); },
        "The code of galaxy_viewer's galaxy when no value is given.");
}
