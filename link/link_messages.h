#pragma once
// The texts and messages of the link, by string id and as Korvane's own
// texts, and the messages that are built from several texts (a port that
// could not be opened).

#include <string>

#include "link/serial_ports.h"
#include "settings/message_sink.h"
#include "settings/text_lookup.h"

namespace korvane {

inline constexpr int STR_LINK_IDLE_9600 = 1;
inline constexpr int STR_LINK_NO_ANSWER = 24;
inline constexpr int MSG_LINK_LINE_NOT_APPLIED = 38;
inline constexpr int STR_LINK_SENDING = 39;          // "%s": the item name
inline constexpr int STR_LINK_ITEM_EXISTS = 40;      // "%s": the item name
inline constexpr int MSG_LINK_REFUSED = 41;
inline constexpr int MSG_LINK_NOT_ACCEPTED = 42;
inline constexpr int MSG_LINK_BLOCK_NOT_CONFIRMED = 43;
inline constexpr int MSG_LINK_PORT_NOT_OPENED = 44;
inline constexpr int MSG_LINK_END_NOT_CONFIRMED = 45;
inline constexpr int STR_LINK_RECEIVING_DC = 46;
inline constexpr int STR_LINK_RECEIVING_DD = 47;
inline constexpr int STR_LINK_RECEIVING = 48;
inline constexpr int MSG_LINK_DATA_INCOMPLETE = 51;
inline constexpr int STR_LINK_SEND_FINISHED = 101;
inline constexpr int STR_LINK_IDLE_38400 = 102;
inline constexpr int STR_LINK_CALCULATOR_READY = 103;
inline constexpr int STR_LINK_RECEIVE_FINISHED = 104;
inline constexpr int STR_LINK_UNEXPECTED_DATA = 105;
inline constexpr int MSG_LINK_NOT_CONFIRMED = 106;    // "%02X": the byte received
inline constexpr int STR_LINK_ENDING = 107;
inline constexpr int MSG_LINK_NOT_TRANSFERABLE = 108;

// The send queue is full: `name` and the items after it were not queued.
Message QueueFullMessage(const std::string& name);

// The untranslated message of a record whose checksum is wrong.
Message ChecksumErrorMessage();

// Message 44, then why the device could not be opened and what to do.
Message PortNotOpenedMessage(const TextLookup& texts, const PortFailure& failure,
                             const std::vector<std::string>& devicesPresent);

// Message 38 with the reason the line state was refused.
Message LineNotAppliedMessage(const TextLookup& texts, const std::string& why);

}  // namespace korvane
