#pragma once

// Pauses between attempts at something the system refused: the first comes
// soon, each later one waits twice as long, up to the longest pause, which
// then repeats.
class GrowingPause {
public:
    GrowingPause(unsigned firstMs, unsigned longestMs) : m_firstMs(firstMs), m_longestMs(longestMs), m_nextMs(firstMs) {}

    // The pause before the next attempt; the one after it is longer.
    unsigned Next()
    {
        const unsigned pauseMs = m_nextMs;
        m_nextMs = m_nextMs * 2 < m_longestMs ? m_nextMs * 2 : m_longestMs;
        return pauseMs;
    }
    // It worked: a later refusal starts again from the first pause.
    void Reset() { m_nextMs = m_firstMs; }

private:
    unsigned m_firstMs;
    unsigned m_longestMs;
    unsigned m_nextMs;
};
