#include "dsp/Decorrelator.h"

namespace {
constexpr float kInitialCoefficient = 0.6f;

// A share of a length in samples, truncated, at least 1 and within the
// largest ring a section can have.
int32_t sectionLength(float samples)
{
    if (!(samples >= 1.0f))
        return 1;
    if (samples >= static_cast<float>(kMaxPow2Int))
        return kMaxPow2Int - 1;
    return static_cast<int32_t>(samples);
}
} // namespace

CDecorrelator::CDecorrelator(int32_t maxDelay, int32_t allpassCapacity, int8_t stageCount)
    : CDelay(maxDelay), stageCount(stageCount > 0 ? stageCount : 0)
{
    stages = std::make_unique<std::unique_ptr<CAPDelay>[]>(static_cast<size_t>(this->stageCount));
    const float W = weightSum();
    for (int j = 0; j < this->stageCount; ++j) {
        const float capacity = (weight(j) * static_cast<float>(allpassCapacity)) / W;
        stages[j] = std::make_unique<CAPDelay>(sectionLength(capacity));
        stages[j]->setCoefficient(kInitialCoefficient);
    }
    CDecorrelator::clear();
}

CDecorrelator::~CDecorrelator() = default;

// Consecutive sections shrink by 3^(-1/4), so no two lengths share a simple
// ratio.
float CDecorrelator::weight(int j) const
{
    return floatPow(3.0f, -0.25f * static_cast<float>(j));
}

float CDecorrelator::weightSum() const
{
    float W = 0.0f;
    for (int j = 0; j < stageCount; ++j)
        W += weight(j);
    return W;
}

void CDecorrelator::clear()
{
    for (int j = 0; j < stageCount; ++j)
        stages[j]->clear();
    zeroRing();
}

void CDecorrelator::setAllpassTotal(int32_t total)
{
    const float inverse = 1.0f / weightSum();
    for (int j = 0; j < stageCount; ++j)
        stages[j]->setDelay(sectionLength(weight(j) * static_cast<float>(total) * inverse));
}

void CDecorrelator::setAllpassCoefficient(float g)
{
    for (int j = 0; j < stageCount; ++j)
        stages[j]->setCoefficient(g);
}

int32_t CDecorrelator::getStageDelay(int j) const
{
    return j >= 0 && j < stageCount ? stages[j]->getDelay() : 0;
}

int32_t CDecorrelator::getStageSize(int j) const
{
    return j >= 0 && j < stageCount ? stages[j]->getSize() : 0;
}

bool CDecorrelator::beginChain(ring_walk::Chain& chain)
{
    if (stageCount > ring_walk::Chain::kMaxStages)
        return false;
    chain.stageCount = stageCount;
    for (int j = 0; j < stageCount; ++j)
        chain.stages[j] = stages[j]->beginStage();
    chain.delay = {buffer.get(), mask, delay, writeIndex};
    return true;
}

void CDecorrelator::endChain(const ring_walk::Chain& chain)
{
    for (int j = 0; j < stageCount; ++j)
        stages[j]->endStage(chain.stages[j]);
    writeIndex = chain.delay.index;
}
