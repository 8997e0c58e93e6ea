#pragma once
// Lengths of the statement file's records, type character included: the
// delivery file is written with them and the import reads by them.

namespace vlme::delivery {

inline constexpr int TamanhoRegistro0 = 352;
inline constexpr int TamanhoRegistro1 = 115;
inline constexpr int TamanhoRegistro2 = 255;
inline constexpr int TamanhoRegistro3 = 278;
inline constexpr int TamanhoRegistro4 = 273;
inline constexpr int TamanhoRegistro9 = 9;

} // namespace vlme::delivery
