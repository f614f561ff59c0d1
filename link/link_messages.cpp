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

std::string PortReasonText(const TextLookup& texts, PortReason reason, const std::vector<FormatArg>& args) {
  return FormatText(TextPart(texts, STR_LINK_PORT_REASONS, static_cast<int>(reason)), args);
}

}  // namespace

std::string TextPart(const TextLookup& texts, int id, int part) {
  const std::string text = texts.Text(id);
  std::size_t start = 0;
  for (int i = 0; i < part; ++i) {
    start = text.find('|', start);
    if (start == std::string::npos) return text;
    ++start;
  }
  return text.substr(start, text.find('|', start) - start);
}

std::string LinkTextOf(const TextLookup& texts, LinkText part, const std::vector<FormatArg>& args) {
  return FormatText(TextPart(texts, STR_LINK_TEXTS, static_cast<int>(part)), args);
}

Message QueueFullMessage(const TextLookup& texts, const std::string& name) {
  return Composed(LinkTextOf(texts, LinkText::QueueFull, {name}), MessageIcon::Exclamation);
}

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
      reason = present.empty() ? PortReasonText(texts, PortReason::MissingNoDevice, {failure.device})
                               : PortReasonText(texts, PortReason::Missing, {failure.device, present});
      break;
    }
    case PortProblem::NoPermission: {
      const std::string group = failure.group.empty() ? std::string("dialout") : failure.group;
      reason = PortReasonText(texts, PortReason::NoPermission, {failure.device, group, group});
      break;
    }
    case PortProblem::InUse:
      reason = PortReasonText(texts, PortReason::InUse, {failure.device});
      break;
    case PortProblem::Other:
      reason = PortReasonText(texts, PortReason::Other, {failure.device, failure.systemText});
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
