#pragma once
// What the processor offers beyond SSE2, for the kernels that choose their
// loop once: AVX2 (with the system saving the 256-bit registers) and SSSE3
// byte shuffles. False on processors of other families.
namespace Render::Kernels {

bool Avx2Usable();
bool Ssse3Usable();

}  // namespace Render::Kernels
