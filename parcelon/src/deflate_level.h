// The level each block of an entry is deflated at. Data that no deflating can shrink (pictures,
// archives, anything already compressed) is passed through as stored deflate blocks, which
// costs a copy, where the full level would spend most of a processor's time finding that out.
// The entry stays an ordinary deflated entry; only the blocks inside it are stored ones, as
// the full level itself picks for such data.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>

namespace parcelon {

// Whether `size` bytes would shrink by no more than about 1% however they were deflated:
// their bytes are near evenly spread (so literal codes gain nothing) and hardly any run of
// them repeats within the reach of a deflate match. Blocks under 8 KiB are never judged so.
bool looksIncompressible(const std::uint8_t* data, std::size_t size);

// The zlib level for a block: stored for data that looks incompressible, otherwise the
// default level every entry is written with.
int deflateLevelFor(const std::uint8_t* data, std::size_t size);

// Sets `stream` to deflate what follows at `level` (ending the block in hand when the level
// changes, as deflateParams does) and, at the default level, to search matches a little less
// hard than zlib's level 6: on documents and records that costs about a tenth of the time and
// a few tenths of a percent in size. A reset forgets this; call it again after one.
// Returns zlib's result.
int useDeflateLevel(z_stream& stream, int level);

}  // namespace parcelon
