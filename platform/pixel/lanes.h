// The lane operations that read the same at every register width, written once over the
// compiler's vector types: splats, arithmetic, logic, comparisons, shifts and conversions on
// 32-bit lanes (one per pixel of the span kernel) and on 16-bit lanes (one per channel of a split
// colour, or one RGB 565 pixel of the text blend). GCC's and Clang's own intrinsic headers define
// the matching intrinsics the same way, so each compiles to the instruction its intrinsic names,
// and every float operation is the same IEEE single-precision operation as its scalar twin. The
// instruction sets' own files (lanes_sse2.h, lanes_avx2.h) add what each writes its own way:
// gathers, loads and stores of pixels, the high half of a product, and tests of whole registers.
//
// Internal linkage: each file that includes this gets its own copy, compiled for its own
// instruction set, so a file that draws with AVX2 includes it only inside its AVX2 region.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>
#include <utility>

namespace platform::pixel {
namespace {

// One register width, named by its vector types: floats (F), integers as the intrinsics take
// them (I), and the views the operations read I as: signed and unsigned 32-bit lanes, signed and
// unsigned 16-bit lanes.
template <class Floats, class Integers, class S32, class U32, class S16, class U16>
struct LanesOfWidth {
  using F = Floats;
  using I = Integers;
  static constexpr int kCount = sizeof(I) / 4;  // 32-bit lanes
  static constexpr int kWords = sizeof(I) / 2;  // 16-bit lanes

 private:
  template <class View>
  static View As(I v) {
    return reinterpret_cast<View>(v);
  }
  template <class View>
  static I Of(View v) {
    return reinterpret_cast<I>(v);
  }

 public:
  static F Splat(float v) {
    return EveryLane<F>([v](int) { return v; });
  }
  static I Splat(int v) {
    return Of(EveryLane<S32>([v](int) { return v; }));
  }
  static I Splat16(short v) {
    return Of(EveryLane<S16>([v](int) { return v; }));
  }
  static I Zero() { return I{}; }
  static I Offsets() {
    return Of(EveryLane<S32>([](int lane) { return lane; }));
  }

  static F Add(F a, F b) { return a + b; }
  static F Sub(F a, F b) { return a - b; }
  static F Mul(F a, F b) { return a * b; }
  static F Div(F a, F b) { return a / b; }
  static I GreaterMask(F a, F b) { return Of(a > b); }
  static F ToFloat(I v) { return __builtin_convertvector(As<S32>(v), F); }
  // Toward zero, for values within ±2^31.
  static I Truncate(F v) { return Of(__builtin_convertvector(v, S32)); }
  // floor(v) for v within ±2^31: truncation, one less where it went up (negative fractions).
  static I FloorToInt(F v) {
    const I truncated = Truncate(v);
    return Add(truncated, GreaterMask(ToFloat(truncated), v));
  }

  // Unsigned where the lanes may wrap: wrapping is what the instructions do.
  static I Add(I a, I b) { return Of(As<U32>(a) + As<U32>(b)); }
  static I Sub(I a, I b) { return Of(As<U32>(a) - As<U32>(b)); }
  static I And(I a, I b) { return a & b; }
  static I Or(I a, I b) { return a | b; }
  static I AndNot(I a, I b) { return ~a & b; }
  static I Equal(I a, I b) { return Of(As<S32>(a) == As<S32>(b)); }
  static I GreaterThan(I a, I b) { return Of(As<S32>(a) > As<S32>(b)); }
  // mask ? a : b, lane by lane (mask lanes all ones or all zeros).
  static I Select(I mask, I a, I b) { return Or(And(mask, a), AndNot(mask, b)); }
  // Lanes from `count` on are 0, the others all ones.
  static I FirstLanes(int count) { return GreaterThan(Splat(count), Offsets()); }
  template <int kBits>
  static I ShiftLeft(I v) {
    return Of(As<U32>(v) << kBits);
  }
  template <int kBits>
  static I ShiftRight(I v) {
    return Of(As<U32>(v) >> kBits);
  }
  template <int kBits>
  static I ShiftRightSigned(I v) {
    return Of(As<S32>(v) >> kBits);
  }
  // Every lane shifted by the same count, which is below 32.
  static I ShiftLeftBy(I v, int bits) { return Of(As<U32>(v) << bits); }

  static I Add16(I a, I b) { return Of(As<U16>(a) + As<U16>(b)); }
  static I Sub16(I a, I b) { return Of(As<U16>(a) - As<U16>(b)); }
  static I Mul16(I a, I b) { return Of(As<U16>(a) * As<U16>(b)); }  // the product's low half
  // Signed: the kernel's 16-bit values stay below 32768.
  static I Min16(I a, I b) {
    const S16 x = As<S16>(a), y = As<S16>(b);
    return Of(x < y ? x : y);
  }
  template <int kBits>
  static I ShiftRight16(I v) {
    return Of(As<U16>(v) >> kBits);
  }
  template <int kBits>
  static I ShiftLeft16(I v) {
    return Of(As<U16>(v) << kBits);
  }

  // table[index] for every lane, one plain load a lane: on the processors measured they cost less
  // than one gather instruction.
  static I Gather(const std::uint32_t* table, I index) {
    std::int32_t at[kCount];
    ToArray(index, at);
    return Of(EveryLane<S32>([&](int lane) { return static_cast<int>(table[at[lane]]); }));
  }
  static I GatherBytes(const std::uint8_t* table, I index) {
    std::int32_t at[kCount];
    ToArray(index, at);
    return Of(EveryLane<S32>([&](int lane) { return static_cast<int>(table[at[lane]]); }));
  }

  // Lanes to and from memory: 32-bit lanes as integers, 16-bit lanes as RGB 565 pixels.
  static void ToArray(I v, std::int32_t (&out)[kCount]) { std::memcpy(out, &v, sizeof v); }
  static I FromArray(const std::int32_t (&in)[kCount]) { return Read<I>(in); }
  static I LoadWords(const std::uint16_t* at) { return Read<I>(at); }
  static void StoreWords(std::uint16_t* at, I words) { std::memcpy(at, &words, sizeof words); }

 protected:
  // The vector whose lane k is lane(k), built as one initialiser of every lane, as the
  // instruction sets' own set and setr intrinsics build theirs.
  template <class Vector, class Lane>
  static Vector EveryLane(Lane lane) {
    return LanesOf<Vector>(lane,
                           std::make_integer_sequence<int, sizeof(Vector) / sizeof lane(0)>());
  }
  template <class Vector, class Lane, int... kLane>
  static Vector LanesOf(Lane lane, std::integer_sequence<int, kLane...>) {
    return Vector{lane(kLane)...};
  }

  template <class Value>
  static Value Read(const void* at) {
    Value value;
    std::memcpy(&value, at, sizeof value);
    return value;
  }
};

// table[a], table[a + 1], table[b] and table[b + 1] in one 128-bit register: two lanes' pairs,
// read as one eight-byte load each (for GatherPairs).
inline __m128 LoadTwoPairs(const std::uint32_t* table, std::int32_t a, std::int32_t b) {
  const __m128d low =
      _mm_castsi128_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(table + a)));
  return _mm_castpd_ps(_mm_loadh_pd(low, reinterpret_cast<const double*>(table + b)));
}

}  // namespace
}  // namespace platform::pixel
