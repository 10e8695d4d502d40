#pragma once
// The two files of a block reading: the data file, opened old, and a scratch file that
// receives one block at a time. Whatever this reading opened is closed when it ends, on the
// normal path and on every error path alike, so that a failed read never keeps a unit.
#include <cstdint>
#include <string_view>

namespace tesmo {

class UnitFile;

/// Opens a data file and its scratch file, copies blocks from one to the other and closes both.
class BlockReading {
public:
    BlockReading() = default;
    ~BlockReading() { close(); }
    BlockReading(const BlockReading&) = delete;
    BlockReading& operator=(const BlockReading&) = delete;

    /// Opens the data file (old, formatted) and a scratch file. Returns 0, or -1 after
    /// printing "can t open the file :" and the name; a unit opened before the failure is closed.
    [[nodiscard]] int open(std::string_view name);
    /// Copies the first block between the tags to the scratch file and rewinds it for reading.
    /// The data file is searched from its start, or from where the last block ended when
    /// `fromStart` is false. Returns 0, or -1 when a tag is missing (no message).
    [[nodiscard]] int extract(std::string_view beginTag, std::string_view endTag, bool fromStart = true);
    /// The scratch file holding the block last extracted, rewound to its first line.
    UnitFile* block() const { return block_; }
    /// The unit of the scratch file.
    int32_t blockUnit() const { return scratchUnit_; }
    /// Back to the first line of the block last extracted.
    void rewindBlock();
    /// Closes the files this reading opened (nothing when already closed).
    void close();

private:
    int32_t dataUnit_ = 0;
    int32_t scratchUnit_ = 0;
    UnitFile* block_ = nullptr;
};

} // namespace tesmo
