#pragma once
// Entry numbers of the program catalogue used by the main program and the mesher.
#include <cstdint>

namespace tesmo::pgmsg {

inline constexpr int32_t kNone = 1; ///< the blank entry of both tables

// errmess (reports; the message type is the error code, 0 for a warning)
inline constexpr int32_t kWhileReading = 2;       ///< "while reading the file :"
inline constexpr int32_t kErrorInFile = 3;        ///< "error in the file :"
inline constexpr int32_t kPointDefinition = 4;    ///< "in the points coordinate definition."
inline constexpr int32_t kIllegalDimension = 5;   ///< "illegal space dimension"
inline constexpr int32_t kThreeZones = 6;         ///< "dimension must be 3 with an edge with more than 2 zones."
inline constexpr int32_t kNothingInFile = 7;      ///< "no point and no edge in the file :"
inline constexpr int32_t kNoEdge = 8;             ///< "no edge in the file :"
inline constexpr int32_t kNotEdges = 9;           ///< "elements are NOT edges."
inline constexpr int32_t kMeshFileWrong = 10;     ///< "mesh definition file is not correct."
inline constexpr int32_t kDensityIn3D = 11;       ///< "density function CAN T be used in 3D."
inline constexpr int32_t kCareful = 12;           ///< "carreful with that combination..."
inline constexpr int32_t kMaximumSet = 13;        ///< "maximum number of nodes set."
inline constexpr int32_t kSizeAtEachNode = 14;    ///< "mesh size MUST be given at each node of the geometry."
inline constexpr int32_t kNoIntegers = 15;        ///< "no more memory (for integers)."
inline constexpr int32_t kNoReals = 16;           ///< "no more memory (for reals)."
inline constexpr int32_t kWhileWritting = 17;     ///< "while writting file :"
inline constexpr int32_t kRandomNoMaximum = 18;   ///< "random generation of points selected and no maximum set."
inline constexpr int32_t kAlreadyReached = 19;    ///< "Maximum number of nodes already reach :"
inline constexpr int32_t kWhileWriting = 20;      ///< "while writing the file :"
inline constexpr int32_t kGeometryNotValid = 21;  ///< "geometry is not valid"
inline constexpr int32_t kTooManyPolygons = 22;   ///< "too many polygons"
inline constexpr int32_t kMeshNameMissing = 23;   ///< "the name of the resulting mesh file is missing"
inline constexpr int32_t kNoMeshForValues = 24;   ///< "no mesh file given, the nodal values won t be located"
inline constexpr int32_t kMaximumReached = 25;    ///< "Maximum number of nodes reached  :"

// messages (information lines, type 101; prompts)
inline constexpr int32_t kPromptGeometry = 2;        ///< "Geometry file ?" (the five prompts follow in order)
inline constexpr int32_t kOnlineHelpTitle = 7;       ///< "Online help"
inline constexpr int32_t kOnlineHelp = 8;            ///< "For online help type : tesmo h"
inline constexpr int32_t kInfoNodes = 14;            ///< "Number of nodes   :"
inline constexpr int32_t kInfoEdges = 15;            ///< "Number of edges   :"
inline constexpr int32_t kInfoTriangles = 17;        ///< "Number of triangles :"
inline constexpr int32_t kInfoZones = 18;            ///< "Number of zones   :"
inline constexpr int32_t kInfoValues = 19;           ///< "Number of values  :"
inline constexpr int32_t kInfoWritingMesh = 20;      ///< "-->WRITTING MESH FILE :"
inline constexpr int32_t kInfoWritingSizes = 21;     ///< "-->WRITTING DENSITY MESH FILE :"
inline constexpr int32_t kInfoMeshingZone = 23;      ///< "-->MESHING THE ZONE :"
inline constexpr int32_t kInfoReadingGeometry = 24;  ///< "-->READING GEOMETRY FILE :"
inline constexpr int32_t kInfoReadingSizes = 26;     ///< "-->READING SIZE FILE :"
inline constexpr int32_t kInfoConcentrations = 27;   ///< "Number of concentrations :"
inline constexpr int32_t kInfoPoints = 28;           ///< "Number of points  :"
inline constexpr int32_t kInfoPolygons = 29;         ///< "Number of non-connex polygons :"
inline constexpr int32_t kInfoNodalValuesOnly = 30;  ///< "nodal value computation only"

} // namespace tesmo::pgmsg
