#include "zip_records.h"

#include "little_endian.h"

namespace parcelon {

LocalHeader LocalHeader::decode(const std::uint8_t* bytes) {
  LocalHeader header;
  header.signature = get32(bytes);
  header.versionNeeded = get16(bytes + 4);
  header.flags = get16(bytes + 6);
  header.method = get16(bytes + 8);
  header.dosTime = get16(bytes + 10);
  header.dosDate = get16(bytes + 12);
  header.crc = get32(bytes + 14);
  header.compressedSize = get32(bytes + 18);
  header.uncompressedSize = get32(bytes + 22);
  header.nameLength = get16(bytes + 26);
  header.extraLength = get16(bytes + 28);
  return header;
}

LocalHeader::Bytes LocalHeader::encode() const {
  Bytes bytes{};
  put32(&bytes[0], signature);
  put16(&bytes[4], versionNeeded);
  put16(&bytes[6], flags);
  put16(&bytes[8], method);
  put16(&bytes[10], dosTime);
  put16(&bytes[12], dosDate);
  put32(&bytes[14], crc);
  put32(&bytes[18], compressedSize);
  put32(&bytes[22], uncompressedSize);
  put16(&bytes[26], nameLength);
  put16(&bytes[28], extraLength);
  return bytes;
}

CentralHeader CentralHeader::decode(const std::uint8_t* bytes) {
  CentralHeader header;
  header.signature = get32(bytes);
  header.versionMadeBy = get16(bytes + 4);
  header.versionNeeded = get16(bytes + 6);
  header.flags = get16(bytes + 8);
  header.method = get16(bytes + 10);
  header.dosTime = get16(bytes + 12);
  header.dosDate = get16(bytes + 14);
  header.crc = get32(bytes + 16);
  header.compressedSize = get32(bytes + 20);
  header.uncompressedSize = get32(bytes + 24);
  header.nameLength = get16(bytes + 28);
  header.extraLength = get16(bytes + 30);
  header.commentLength = get16(bytes + 32);
  header.diskStart = get16(bytes + 34);
  header.internalAttributes = get16(bytes + 36);
  header.externalAttributes = get32(bytes + 38);
  header.localOffset = get32(bytes + 42);
  return header;
}

CentralHeader::Bytes CentralHeader::encode() const {
  Bytes bytes{};
  put32(&bytes[0], signature);
  put16(&bytes[4], versionMadeBy);
  put16(&bytes[6], versionNeeded);
  put16(&bytes[8], flags);
  put16(&bytes[10], method);
  put16(&bytes[12], dosTime);
  put16(&bytes[14], dosDate);
  put32(&bytes[16], crc);
  put32(&bytes[20], compressedSize);
  put32(&bytes[24], uncompressedSize);
  put16(&bytes[28], nameLength);
  put16(&bytes[30], extraLength);
  put16(&bytes[32], commentLength);
  put16(&bytes[34], diskStart);
  put16(&bytes[36], internalAttributes);
  put32(&bytes[38], externalAttributes);
  put32(&bytes[42], localOffset);
  return bytes;
}

EndRecord EndRecord::decode(const std::uint8_t* bytes) {
  EndRecord record;
  record.signature = get32(bytes);
  record.diskNumber = get16(bytes + 4);
  record.centralDisk = get16(bytes + 6);
  record.entriesOnDisk = get16(bytes + 8);
  record.totalEntries = get16(bytes + 10);
  record.centralSize = get32(bytes + 12);
  record.centralOffset = get32(bytes + 16);
  record.commentLength = get16(bytes + 20);
  return record;
}

EndRecord::Bytes EndRecord::encode() const {
  Bytes bytes{};
  put32(&bytes[0], signature);
  put16(&bytes[4], diskNumber);
  put16(&bytes[6], centralDisk);
  put16(&bytes[8], entriesOnDisk);
  put16(&bytes[10], totalEntries);
  put32(&bytes[12], centralSize);
  put32(&bytes[16], centralOffset);
  put16(&bytes[20], commentLength);
  return bytes;
}

}  // namespace parcelon
