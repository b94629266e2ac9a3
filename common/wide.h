#pragma once

// Whole numbers past 64 bits, for the exact products of lengths, counts and prices that can
// outgrow them: 128 bits where the compiler has them (gcc and clang, on every target built
// here, WebAssembly included), and 256 where even those do not do, such as two areas of
// doubles with a count and a scale.

#include <array>
#include <compare>
#include <cstdint>

namespace korvane {

__extension__ typedef unsigned __int128 Wide128;

class Wide256
{
    using Product = Wide128;

public:
    explicit Wide256(std::uint64_t value) : m_limbs{value, 0, 0, 0} {}

    Wide256 &operator*=(std::uint64_t factor)
    {
        std::uint64_t carry = 0;
        for (std::uint64_t &limb : m_limbs) {
            const Product p = static_cast<Product>(limb) * factor + carry;
            limb = static_cast<std::uint64_t>(p);
            carry = static_cast<std::uint64_t>(p >> 64);
        }
        return *this;
    }
    Wide256 &operator<<=(int bits)
    {
        for (; bits >= 64; bits -= 64)
            m_limbs = {0, m_limbs[0], m_limbs[1], m_limbs[2]};
        for (std::size_t i = m_limbs.size(); bits > 0 && i-- > 0;)
            m_limbs[i] = m_limbs[i] << bits | (i > 0 ? m_limbs[i - 1] >> (64 - bits) : 0);
        return *this;
    }
    Wide256 &operator+=(const Wide256 &other)
    {
        Product carry = 0;
        for (std::size_t i = 0; i < m_limbs.size(); ++i) {
            carry += static_cast<Product>(m_limbs[i]) + other.m_limbs[i];
            m_limbs[i] = static_cast<std::uint64_t>(carry);
            carry >>= 64;
        }
        return *this;
    }
    // For other <= *this.
    Wide256 &operator-=(const Wide256 &other)
    {
        std::uint64_t borrow = 0;
        for (std::size_t i = 0; i < m_limbs.size(); ++i) {
            const Product difference = static_cast<Product>(m_limbs[i]) - other.m_limbs[i] - borrow;
            m_limbs[i] = static_cast<std::uint64_t>(difference);
            borrow = static_cast<std::uint64_t>(difference >> 64) != 0;
        }
        return *this;
    }
    friend std::strong_ordering operator<=>(const Wide256 &l, const Wide256 &r)
    {
        for (std::size_t i = l.m_limbs.size(); i-- > 0;)
            if (l.m_limbs[i] != r.m_limbs[i])
                return l.m_limbs[i] <=> r.m_limbs[i];
        return std::strong_ordering::equal;
    }
    friend bool operator==(const Wide256 &, const Wide256 &) = default;

private:
    std::array<std::uint64_t, 4> m_limbs;
};

// numerator / denominator, a half rounded up, by long division; the quotient must be below
// 2^62 and the denominator below 2^192.
std::int64_t quotientHalfUp(Wide256 numerator, Wide256 denominator);

// The product of `numerator` over the product of `denominator`, a half rounded up, computed
// exactly from the doubles as they are held (each a whole number times a power of two): three
// finite doubles over two, none of them zero below, with a quotient below 2^62.
std::int64_t productRatioHalfUp(std::array<double, 3> numerator, std::array<double, 2> denominator);

} // namespace korvane
