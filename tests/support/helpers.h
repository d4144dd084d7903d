// Small checks shared by the unit and GL tests: console lines and transforms.
#pragma once

#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <ostream>
#include <string>

// Lets failure messages show glm vectors as numbers rather than bytes.
namespace glm {
inline void PrintTo(const vec3& v, std::ostream* out) { *out << "(" << v.x << ", " << v.y << ", " << v.z << ")"; }
}  // namespace glm

// How often `part` occurs in `text`, overlaps included.
inline int countOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

inline glm::vec3 translationOf(const glm::mat4& m) { return glm::vec3(m[3]); }

// Use as EXPECT_TRUE(closeTo(actual, expected)): each component within `tolerance`.
inline ::testing::AssertionResult closeTo(glm::vec3 actual, glm::vec3 expected, float tolerance = 1e-4f) {
    const glm::vec3 off = glm::abs(actual - expected);
    if (off.x <= tolerance && off.y <= tolerance && off.z <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << ::testing::PrintToString(actual) << " is not within " << tolerance
                                         << " of " << ::testing::PrintToString(expected);
}
