// The data-file package catalogue in English.
#include "messages/catalogue.hpp"

namespace tesmo {

namespace {

constexpr std::string_view kRuler = "123456789012345678901234567890123456789012345678901234567890123";

constexpr std::string_view kHeadings[4] = {"WARNING", "DATA ERROR", "COMPUTER ERROR", "NOT YET POSSIBLE"};

constexpr std::string_view kErrors[64] = {
    "",
    "in a border definition",
    "in a border : incomplete definition",
    "too many zones on a border, must be less than",
    "too many nodes on a border, must be less than",
    "unknown code for border :",
    "in a border definition : number of nodes is not correct",
    "in a border definition : number of zones is not correct",
    "in a border definition : interval must begin with -3",
    "in a border : the interval is empty",
    "in a border : the type is unknown",
    "in Block XYZ, wrong dimension",
    "Unknown : memory allocation?!",
    "can t open the file :",
    "in Block XYZ : starting or ending tag is missing",
    "in Block XYZ : number of points or dimension is wrong",
    "at the point :",
    "in Block ARE ou ILM : number of borders or dimension is wrong",
    "at the border :",
    "a point is wrong in the border :",
    "dimension of the space must be > than the dimension of elements",
    "in Block XYZ : dimension is too hight, must be less than :",
    "the file already exist :",
    "can t open the file :",
    "while writing the element :",
    "in Block GRD : starting or ending tag missing",
    "in Block GRD : number of values or dimension is wrong",
    "at the value :",
    "in Block ILM : number of elements or dimension is wrong",
    "at the element :",
    "too many points in the element, must be less than",
    "dimension of the space must be > than the dimension of elements",
    "too many parameters for the application, must be <=",
    "too many character for a parameter, must be <=",
    "the following parameter is missing :",
    "DATE",
    "CONTACT",
    "not a string :",
    "not an integer :",
    "not a real :",
    "dimension of the values must be 1 instead of",
    "-->DEFAULT MESH SIZE",
    "-->READING MESH SIZE",
    "-->DENSITY FUNCTIONS",
    "-->NODAL VALUES",
    "in Block GEO : starting or ending tag missing",
    "in Block GEO : number of values or dimension is wrong",
    "at the point :",
    "in Block SUI : starting or ending tag is missing",
    "in Block SUI : number of progressions is not valid",
    "at the progression :",
    "in Block DEN : starting or ending tag is missing",
    "in Block DEN : number of concentrations or dimension is wrong",
    "at the concentration :",
    "the concentration reference is not correct :",
    "the progression reference is not correct :",
    "the progression ratio is <= 0 :",
    "the progression size is <= 0  :",
    "the progression difference and size are <=0 :",
    "unknown type of concentration :",
    "illegal point reference number :",
    "no concentration defined !",
    "unknown type of element :",
    kRuler,
};

constexpr std::string_view kMessages[10] = {
    "",
    "-->DEFAULT MESH SIZE",
    "-->READING MESH SIZE",
    "-->DENSITY FUNCTIONS",
    "-->NODAL VALUES",
    "Number of concentration  :",
    "Mode of generation :",
    "DATE",
    "CONTACT",
    kRuler,
};

constexpr std::string_view kHelp =
    "tesmo data-file package: reads and writes geometry, mesh, nodal-values and mesh-size files.";

constexpr Catalogue kPackage{kHelp, kErrors, 64, kHeadings, kMessages, 10};

} // namespace

const Catalogue& packageCatalogue() { return kPackage; }

} // namespace tesmo
