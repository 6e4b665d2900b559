// How the socket module frames packets on a TCP stream; the test servers
// speak the same framing.
//
// Every packet is a 16-byte head followed by the body, all little-endian:
//
//   offset  size  field
//   0       2     mark, always PACKET_FRAME_MARK
//   2       2     body size (0..65535)
//   4       4     packet size: head plus body, so always 16 + body size
//   8       4     serial number
//   12      2     main command
//   14      2     sub command
//   16      ...   body
//
// A receiver that finds a wrong mark or a packet size that does not equal
// 16 + body size cannot know where the next packet starts: it closes the
// connection. Bytes of a packet may arrive in any number of pieces.
#pragma once

#include <stdint.h>
#include <string.h>

const uint16_t PACKET_FRAME_MARK = 0x5054; // "TP"
const uint32_t PACKET_HEAD_SIZE = 16;
const uint32_t PACKET_MAX_BODY = 0xFFFF;
const uint32_t PACKET_MAX_SIZE = PACKET_HEAD_SIZE + PACKET_MAX_BODY;

struct tagPacketHead
{
    uint16_t wMark;
    uint16_t wBodySize;
    uint32_t dwPacketSize;
    uint32_t dwSerialNum;
    uint16_t wMainCmdID;
    uint16_t wSubCmdID;
};
static_assert(sizeof(tagPacketHead) == PACKET_HEAD_SIZE, "packet head is 16 bytes without padding");

// The head in its 16 wire bytes (the hosts are little-endian).
inline void WritePacketHead(uint8_t* out, uint32_t serial, uint16_t mainCmd, uint16_t subCmd, uint16_t bodySize)
{
    tagPacketHead head = {PACKET_FRAME_MARK, bodySize, PACKET_HEAD_SIZE + bodySize, serial, mainCmd, subCmd};
    memcpy(out, &head, sizeof(head));
}

// False when the head is not one the sender could have written.
inline bool ReadPacketHead(const uint8_t* in, tagPacketHead& head)
{
    memcpy(&head, in, sizeof(head));
    return head.wMark == PACKET_FRAME_MARK && head.dwPacketSize == PACKET_HEAD_SIZE + head.wBodySize;
}
