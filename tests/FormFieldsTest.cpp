// The definition check of both forms (which faults, in which order) and the copy of a checked
// form into a record.
#include <gtest/gtest.h>

#include "customvars/SearchString.h"
#include "ui/FormFields.h"

namespace vexor {
namespace {

const std::string kIntro = "You cannot store this variable because...\n";

ClientFormFields ValidClient() {
  ClientFormFields form;
  form.name = "Quads";
  form.searchString = "PLAYER1 got the Quad Damage";
  form.typeSelection = kPlayer1String;
  form.changes.p1Change = 1;
  form.changes.p1Value = 1;
  return form;
}

ServerFormFields ValidServer() {
  ServerFormFields form;
  form.name = "Rails";
  form.idstring = "Kill:";
  form.modstring = "MOD_RAILGUN";
  form.id1 = -1;
  form.changes.p1Change = 1;
  form.changes.p1Value = 1;
  return form;
}

struct ClientCase {
  const char* what;
  void (*edit)(ClientFormFields&);
  std::string expected;
};

TEST(FormFieldsTest, ClientFaultsAccumulateInOrder) {
  const ClientCase cases[] = {
      {"valid", [](ClientFormFields&) {}, kFormOk},
      {"only a name typed",
       [](ClientFormFields& f) {
         f = ClientFormFields{};
         f.name = "Quads";
       },
       kIntro + "The search string is not entered.\n" + "No variables are being incremented.\n"},
      {"only a second slot set",
       [](ClientFormFields& f) {
         f = ClientFormFields{};
         f.changes.p2Change2 = 1;
       },
       kFormEmpty},
      {"no type: nothing else is judged",
       [](ClientFormFields& f) {
         f.typeSelection = -1;
         f.name.clear();
         f.changes.p1Value = 0;
       },
       kIntro + "Variable type is not selected.\n"},
      {"type past the list", [](ClientFormFields& f) { f.typeSelection = 7; },
       kIntro + "Variable type is not selected.\n"},
      {"search string of another form",
       [](ClientFormFields& f) {
         f.typeSelection = kPlayer1StringPlayer2;
         f.name.clear();
       },
       kIntro + "The variable name is not entered.\n" +
           "The search string is not of the same form as the stringtype in the topmost "
           "ComboBox.\n"},
      {"slot faults in record order, value before target",
       [](ClientFormFields& f) {
         f.changes.p1Value = 0;
         f.changes.p1Target = -1;
         f.changes.p1Change2 = 1;  // value 5, no target
         f.changes.p1Value2 = 5;
         f.changes.p1Target2 = -1;
         f.changes.p2Change = 1;  // value 0, target fine
         f.changes.p2Change2 = 1;
         f.changes.p2Value2 = -3;
       },
       kIntro + "PLAYER1's variable is being incremented by zero!\n" +
           "PLAYER1's variable to increment is zero!\n" +
           "PLAYER2's variable is being incremented by zero!\n" +
           "PLAYER1's 2nd variable to increment is zero!\n"},
      {"a second slot alone increments",
       [](ClientFormFields& f) {
         f.changes.p1Change = 0;
         f.changes.p2Change2 = 1;
         f.changes.p2Value2 = 2;
       },
       kFormOk},
      {"a clear slot's fields are not looked at",
       [](ClientFormFields& f) {
         f.changes.p2Target = -1;
         f.changes.p2Value = 0;
       },
       kFormOk},
  };
  for (const ClientCase& c : cases) {
    ClientFormFields form = ValidClient();
    c.edit(form);
    EXPECT_EQ(ValidateForm(form), c.expected) << c.what;
  }
}

struct ServerCase {
  const char* what;
  void (*edit)(ServerFormFields&);
  std::string expected;
};

TEST(FormFieldsTest, ServerFaultsAccumulateInOrder) {
  const ServerCase cases[] = {
      {"valid", [](ServerFormFields&) {}, kFormOk},
      {"blank", [](ServerFormFields& f) { f = ServerFormFields{}; }, kFormEmpty},
      {"blank but a second slot",
       [](ServerFormFields& f) {
         f = ServerFormFields{};
         f.changes.p1Change2 = 1;
       },
       kFormEmpty},
      {"blank but an id",
       [](ServerFormFields& f) {
         f = ServerFormFields{};
         f.id3 = 4;
       },
       kIntro + "The variable name is not entered.\n" +
           "You must have a client (-1) in id1 or id2.\n" + "The first id cannot be invalid.\n" +
           "No variables are being incremented.\n"},
      {"fixed first id, no modstring",
       [](ServerFormFields& f) {
         f.id1 = 5;
         f.modstring.clear();
       },
       kIntro + "You must have a client (-1) in id1 or id2.\n" +
           "You must enter at least one id, an idstring and a modstring.\n"},
      {"two blanks in the modstring", [](ServerFormFields& f) { f.modstring = "MOD RAIL GUN"; },
       kIntro + "No spaces are allowed in the modstring.\n"},
      {"three clients",
       [](ServerFormFields& f) {
         f.id2 = -1;
         f.id3 = -1;
       },
       kIntro + "All three ids are clients.\n"},
      {"client in id2 only, no idstring but a second id",
       [](ServerFormFields& f) {
         f.id1 = 3;
         f.id2 = -1;
         f.idstring.clear();
       },
       kFormOk},
      {"every general fault",
       [](ServerFormFields& f) {
         f.name.clear();
         f.modstring = "a b";
         f.idstring.clear();
         f.id1 = -2;
         f.changes.p1Change = 0;
       },
       kIntro + "The variable name is not entered.\n" +
           "No spaces are allowed in the modstring.\n" +
           "You must have a client (-1) in id1 or id2.\n" +
           "You must enter at least one id, an idstring and a modstring.\n" +
           "The first id cannot be invalid.\n" + "No variables are being incremented.\n"},
      {"slot faults as on the client form",
       [](ServerFormFields& f) {
         f.changes.p2Change2 = 1;
         f.changes.p2Target2 = -1;
       },
       kIntro + "PLAYER2's 2nd variable is being incremented by zero!\n" +
           "PLAYER2's 2nd variable to increment is zero!\n"},
  };
  for (const ServerCase& c : cases) {
    ServerFormFields form = ValidServer();
    c.edit(form);
    EXPECT_EQ(ValidateForm(form), c.expected) << c.what;
  }
}

TEST(FormFieldsTest, RecordTakesItsOwnNumberForThisVariableAndZeroesClearSlots) {
  ClientFormFields form = ValidClient();
  form.changes.p2Change = 1;
  form.changes.p2Target = 3;
  form.changes.p2Value = -2;
  form.changes.p1Target2 = 4;  // clear slot with leftovers on the form
  form.changes.p1Value2 = 9;
  ClientVariable record;
  WriteFormToRecord(form, 7, &record);
  EXPECT_EQ(record.ordinal, 7);
  EXPECT_EQ(record.p1Target, 7);
  EXPECT_EQ(record.p2Target, 3);
  EXPECT_EQ(record.p2Value, -2);
  EXPECT_EQ(record.p1Target2, 0);
  EXPECT_EQ(record.p1Value2, 0);

  ServerVariable server;
  server.reserved = 77;
  WriteFormToRecord(ValidServer(), 2, &server);
  EXPECT_EQ(server.reserved, 77);
  EXPECT_EQ(server.id1, -1);
  EXPECT_EQ(server.p1Target, 2);
}

}  // namespace
}  // namespace vexor
