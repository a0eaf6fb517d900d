// SPDX-License-Identifier: MIT
#include "graph/series_scan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tevusb::graph {

namespace {

// Scalar steps with the same rules as the packed ones: a NaN never replaces an extreme.
inline double lower(double x, double low) {
    return x < low ? x : low;
}
inline double higher(double x, double high) {
    return x > high ? x : high;
}

}  // namespace

SeriesExtent scanExtent(const double* v, std::size_t n) {
    double low = v[0];
    double high = v[0];
    // x - x is 0 for a finite x and NaN otherwise, so the sum reveals any wild value.
    double wild = 0.0;
    std::size_t i = 0;
#if defined(__SSE2__)
    __m128d lowA = _mm_set1_pd(low);
    __m128d lowB = lowA;
    __m128d highA = lowA;
    __m128d highB = lowA;
    __m128d wildA = _mm_setzero_pd();
    __m128d wildB = wildA;
    for (; i + 4 <= n; i += 4) {
        const __m128d a = _mm_loadu_pd(v + i);
        const __m128d b = _mm_loadu_pd(v + i + 2);
        // minpd and maxpd return their second operand when the first is NaN.
        lowA = _mm_min_pd(a, lowA);
        lowB = _mm_min_pd(b, lowB);
        highA = _mm_max_pd(a, highA);
        highB = _mm_max_pd(b, highB);
        wildA = _mm_add_pd(wildA, _mm_sub_pd(a, a));
        wildB = _mm_add_pd(wildB, _mm_sub_pd(b, b));
    }
    double lanes[2];
    _mm_storeu_pd(lanes, _mm_min_pd(lowA, lowB));
    low = lower(lanes[0], lower(lanes[1], low));
    _mm_storeu_pd(lanes, _mm_max_pd(highA, highB));
    high = higher(lanes[0], higher(lanes[1], high));
    _mm_storeu_pd(lanes, _mm_add_pd(wildA, wildB));
    wild = lanes[0] + lanes[1];
#endif
    for (; i < n; ++i) {
        low = lower(v[i], low);
        high = higher(v[i], high);
        wild += v[i] - v[i];
    }
    return {low, high, wild == 0.0};
}

double largestValue(const double* v, std::size_t n) {
    double high = v[0];
    std::size_t i = 0;
#if defined(__SSE2__)
    __m128d highA = _mm_set1_pd(high);
    __m128d highB = highA;
    for (; i + 4 <= n; i += 4) {
        highA = _mm_max_pd(_mm_loadu_pd(v + i), highA);
        highB = _mm_max_pd(_mm_loadu_pd(v + i + 2), highB);
    }
    double lanes[2];
    _mm_storeu_pd(lanes, _mm_max_pd(highA, highB));
    high = higher(lanes[0], higher(lanes[1], high));
#endif
    for (; i < n; ++i) {
        high = higher(v[i], high);
    }
    return high;
}

}  // namespace tevusb::graph
