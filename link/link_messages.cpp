#include "link/link_messages.h"

namespace korvane {
namespace {

Message Composed(std::string text, MessageIcon icon) {
  Message m;
  m.textId = -1;
  m.fixedText = std::move(text);
  m.captionId = CAPTION_ERROR;
  m.icon = icon;
  return m;
}

}  // namespace

Message QueueFullMessage(const std::string& name) { return OwnTextMessage(KorvaneText::LinkQueueFull, {name}); }

Message ChecksumErrorMessage() {
  Message m;
  m.textId = -1;
  m.fixedText = "Checksum error";
  m.captionId = -1;
  m.fixedCaption = "Receiving file";
  m.icon = MessageIcon::Exclamation;
  return m;
}

Message PortNotOpenedMessage(const TextLookup& texts, const PortFailure& failure,
                             const std::vector<std::string>& devicesPresent) {
  std::string reason;
  switch (failure.problem) {
    case PortProblem::Missing: {
      std::string present;
      for (const std::string& d : devicesPresent) present += (present.empty() ? "" : ", ") + d;
      reason = present.empty() ? OwnTextOf(texts, KorvaneText::LinkPortMissingNoDevice, {failure.device})
                               : OwnTextOf(texts, KorvaneText::LinkPortMissing, {failure.device, present});
      break;
    }
    case PortProblem::NoPermission: {
      const std::string group = failure.group.empty() ? std::string("dialout") : failure.group;
      reason = OwnTextOf(texts, KorvaneText::LinkPortNoPermission, {failure.device, group, group});
      break;
    }
    case PortProblem::InUse:
      reason = OwnTextOf(texts, KorvaneText::LinkPortInUse, {failure.device});
      break;
    case PortProblem::Other:
      reason = OwnTextOf(texts, KorvaneText::LinkPortOther, {failure.device, failure.systemText});
      break;
  }
  // A plain box, as the other port message.
  return Composed(texts.Text(MSG_LINK_PORT_NOT_OPENED) + "\n\n" + reason, MessageIcon::None);
}

Message LineNotAppliedMessage(const TextLookup& texts, const std::string& why) {
  std::string text = texts.Text(MSG_LINK_LINE_NOT_APPLIED);
  if (!why.empty()) text += "\n\n" + why;
  return Composed(std::move(text), MessageIcon::None);
}

}  // namespace korvane
