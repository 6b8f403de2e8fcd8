#pragma once
// The product's names that the install run, the DOSBox set-up and the main
// window share.

namespace pellion {

inline constexpr char kProductName[] = "Pellion";
// The product's icon, beside its programs; every shortcut shows it.
inline constexpr char kShortcutIcon[] = "v.ico";

}  // namespace pellion
