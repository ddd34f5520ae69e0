#pragma once

// Decorrelator: a chain of Schroeder all-pass sections of unequal lengths
// followed by a plain delay. The output has the input's magnitude spectrum
// with a scrambled phase; an impulse first appears after the final delay
// with the value (-g)^stages. The inherited ring is the final delay line.
// Not thread-safe: one owner drives it.

#include <cstdint>
#include <memory>

#include "dsp/Delay.h"

class CDecorrelator final : public CDelay
{
public:
    // maxDelay bounds the final delay; allpassCapacity is shared among the
    // sections in proportion to their weights 3^(-i/4). Every section starts
    // with coefficient 0.6; all lengths start at 0 until the owner sets them.
    CDecorrelator(int32_t maxDelay, int32_t allpassCapacity, int8_t stageCount);
    ~CDecorrelator() override;

    // Clears every section and the final ring; lengths and coefficient stay.
    void clear() override;

    void process(float* sample) override
    {
        for (int j = 0; j < stageCount; ++j)
            stages[j]->process(sample);
        CDelay::process(sample);
    }

    // process over `count` samples in place, section by section; the same
    // arithmetic per sample. `samples` must not point into a ring.
    void processBlock(float* samples, int32_t count)
    {
        for (int j = 0; j < stageCount; ++j)
            stages[j]->processBlock(samples, count);
        CDelay::processBlock(samples, count);
    }

    // The sections and the final delay as an owner walks them over a block
    // (at any vector width), handed back with endChain. False, with nothing
    // begun, where there are more sections than a walk holds.
    bool beginChain(ring_walk::Chain& chain);
    void endChain(const ring_walk::Chain& chain);

    // Splits `total` samples among the sections by weight (each at least 1,
    // clamped to its ring).
    virtual void setAllpassTotal(int32_t total);
    virtual void setAllpassCoefficient(float g);

    // Every section's state, then the final ring's.
    uint64_t hashState(uint64_t hash) const override
    {
        for (int j = 0; j < stageCount; ++j)
            hash = stages[j]->hashState(hash);
        return CDelay::hashState(hash);
    }

    int getStageCount() const { return stageCount; }
    // Length of section j; 0 for an index out of range.
    int32_t getStageDelay(int j) const;
    // Ring size of section j; 0 for an index out of range.
    int32_t getStageSize(int j) const;
    float getAllpassCoefficient() const
    {
        return stageCount > 0 ? stages[0]->getCoefficient() : 0.0f;
    }

private:
    // Share of section j in the total length, and the sum of all shares.
    float weight(int j) const;
    float weightSum() const;

    std::unique_ptr<std::unique_ptr<CAPDelay>[]> stages;
    int8_t stageCount;
};
