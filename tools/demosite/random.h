#pragma once
// Deterministic pseudo-random numbers for the generated sites. Every page and
// picture draws from its own generator, keyed by the seed and by what it
// shows (issue number, article, path), so the bytes of one answer never depend
// on the order in which requests arrive.

#include <QByteArray>
#include <QList>
#include <cstdint>
#include <initializer_list>

class Rng {
public:
    Rng(uint64_t seed, std::initializer_list<uint64_t> keys)
        : state_(seed ^ 0x6a09e667f3bcc909ULL) {
        for (uint64_t key : keys)
            state_ = mix(state_ ^ mix(key + 0x9e3779b97f4a7c15ULL));
    }

    uint64_t next() { return mix(state_ += 0x9e3779b97f4a7c15ULL); }
    // A number in [0, n); n > 0.
    int below(int n) { return int(next() % uint64_t(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T> const T& pick(const QList<T>& items) {
        return items[below(items.size())];
    }

    // FNV-1a of a byte string, to key a generator by a path or a name.
    static uint64_t hash(const QByteArray& bytes) {
        uint64_t h = 0xcbf29ce484222325ULL;
        for (char c : bytes)
            h = (h ^ uint8_t(c)) * 0x100000001b3ULL;
        return h;
    }

private:
    static uint64_t mix(uint64_t z) {
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    uint64_t state_;
};
