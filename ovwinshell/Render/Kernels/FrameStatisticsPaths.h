#pragma once
// The vector loops behind SumFrameStatistics, one per instruction set. Each
// adds the sums of the longest whole-vector prefix of two contiguous runs of
// samples and returns how many samples it took; the caller adds the rest one
// by one. Visible so that the tests can run every path the processor has.
#include <cstdint>

#include "FrameStatistics.h"

namespace Render::Kernels {

// One frame's rule as plain numbers.
struct VectorStatisticsRule {
    uint32_t shift = 0;      // gain shift
    uint32_t mask = 0xFFFF;  // statistics mask, low 16 bits
    uint32_t down = 0;       // its down-shift
    uint32_t low = 1;        // threshold range low ... high
    uint32_t high = 0;
    bool threshold = false;  // the range holds a value
    bool wide = false;       // values can exceed 4095
};

VectorStatisticsRule MakeVectorStatisticsRule(uint32_t shift, uint32_t mask, const ThresholdRange& threshold);

using StatisticsRunAdder = uint64_t (*)(const uint16_t* current, const uint16_t* previous, uint64_t count,
                                        const VectorStatisticsRule& rule, StatisticsSums& sums);

// 16-bit lanes in 128-bit registers; a processor without SSE2 takes nothing.
uint64_t AddStatisticsRunSse2(const uint16_t* current, const uint16_t* previous, uint64_t count,
                              const VectorStatisticsRule& rule, StatisticsSums& sums);
// 256-bit registers; only when Avx2Usable() (CpuFeatures.h).
uint64_t AddStatisticsRunAvx2(const uint16_t* current, const uint16_t* previous, uint64_t count,
                              const VectorStatisticsRule& rule, StatisticsSums& sums);

// The widest loop this processor runs.
StatisticsRunAdder BestStatisticsRunAdder();

// SumFrameStatistics with a chosen loop (null: one sample at a time).
StatisticsSums SumFrameStatisticsWith(StatisticsRunAdder adder, const uint16_t* current, const uint16_t* previous,
                                      uint32_t width, uint32_t height, uint32_t layout, uint32_t shift, uint32_t mask,
                                      double previousMean);

}  // namespace Render::Kernels
