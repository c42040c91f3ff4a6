#pragma once

// The product name sent in every User-Agent header.
namespace UserAgent {
inline constexpr char Name[] = "ZorVane-TAXI DISPETCHER Softphone";
}
