#include "VariableDefinitions.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ScriptedPrompter.h"
#include "ui/FormFields.h"
#include "ui/VariableWorkingCopy.h"

namespace vexor::fuzz {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == separator) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// A decimal number as far as its digits go, held within int32.
int32_t Number(std::string_view text) {
  size_t i = 0;
  bool negative = i < text.size() && text[i] == '-';
  if (negative) ++i;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > INT32_MAX) value = INT32_MAX;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

// The fields of a line, with empty ones for those it lacks.
class Fields {
 public:
  Fields(std::string_view line, size_t count) : m_parts(Split(line, '|')) { m_parts.resize(count); }
  std::string_view Text(size_t i) const { return m_parts[i]; }
  int32_t Int(size_t i, int32_t missing) const {
    return m_parts[i].empty() ? missing : Number(m_parts[i]);
  }
  void Slots(size_t first, ChangeSlots* slots) const {
    for (size_t s = 0; s < kSlotsInRecordOrder.size(); ++s) {
      std::vector<std::string_view> triple = Split(m_parts[first + s], ',');
      triple.resize(3);
      const SlotFields& fields = kSlotsInRecordOrder[s];
      slots->*fields.change = Number(triple[0]) != 0 ? 1 : 0;
      slots->*fields.target = Number(triple[1]);
      slots->*fields.value = Number(triple[2]);
    }
  }

 private:
  std::vector<std::string_view> m_parts;
};

ClientFormFields ClientForm(std::string_view line) {
  Fields fields(line, 8);
  ClientFormFields form;
  form.name = fields.Text(0);
  form.searchString = fields.Text(1);
  form.typeSelection = fields.Int(2, 0);
  fields.Slots(3, &form.changes);
  form.visible = fields.Int(7, 1);
  return form;
}

ServerFormFields ServerForm(std::string_view line) {
  Fields fields(line, 11);
  ServerFormFields form;
  form.name = fields.Text(0);
  form.idstring = fields.Text(1);
  form.id1 = fields.Int(2, -2);
  form.id2 = fields.Int(3, -2);
  form.id3 = fields.Int(4, -2);
  form.modstring = fields.Text(5);
  fields.Slots(6, &form.changes);
  form.visible = fields.Int(10, 1);
  return form;
}

template <typename WorkingCopy, typename Form>
void Store(WorkingCopy& copy, const Form& form, Prompter& prompter) {
  if (ValidateForm(form) != kFormOk) return;
  copy.SetCurrent(copy.Count() + 1);
  copy.StoreForm(form, prompter);
}

}  // namespace

bool OptionsLine(std::string_view lines, Options* options) {
  for (std::string_view line : Split(lines, '\n')) {
    if (line.size() < 2 || line[0] != 'O' || line[1] != ' ') continue;
    Fields fields(line.substr(2), 5);
    options->sumGames = fields.Int(0, 0);
    options->groupSize = fields.Int(1, 1);
    options->groupStart = fields.Int(2, 1);
    options->hideShortGames = fields.Int(3, 1);
    options->shortGameThreshold = fields.Int(4, 25);
    return true;
  }
  return false;
}

void DefineVariables(std::string_view lines, VexoriumDoc& doc) {
  ClientVarWorkingCopy clients;
  ServerVarWorkingCopy servers;
  ScriptedPrompter prompter;
  for (std::string_view line : Split(lines, '\n')) {
    if (line.size() < 2 || line[1] != ' ') continue;
    if (line[0] == 'C') Store(clients, ClientForm(line.substr(2)), prompter);
    if (line[0] == 'S') Store(servers, ServerForm(line.substr(2)), prompter);
  }
  clients.CopyToDocument(doc);
  servers.CopyToDocument(doc);
}

}  // namespace vexor::fuzz
