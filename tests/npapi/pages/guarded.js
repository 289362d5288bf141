// The members only the bank's pages may use. Each card member comes with the page values it needs and
// the result it gives on the bank's page with the virtual bank card, in the order of one card session.
function asciiHex(text) {
  var hex = "";
  for (var i = 0; i < text.length; i++) hex += ("0" + text.charCodeAt(i).toString(16).toUpperCase()).slice(-2);
  return hex;
}

var cardMembers = [
  {name: "ConnectReader", result: "0"},
  {name: "ListReaders", set: {iNoR: 0}, result: "0"},
  {name: "ConnectCard", set: {baReaderName: "Virtual PCD 00 00", baATR: "none"}, result: "0"},
  {name: "GetCardStatus", result: "0"},
  {name: "ReConnectCard", set: {iResetType: 1}, result: "0"},
  // vpcd has no reader attributes: SCARD_E_UNSUPPORTED_FEATURE (0x8010001F)
  {name: "GetReaderStatus", set: {dwAttrId: 0x00090303}, result: "2148532255"},
  {name: "CheckCardInsert", set: {cardType: 9}, result: "0"},
  {name: "SelectDF", set: {baDFID: "1000"}, result: "0"},
  {name: "SelectEF", set: {baEFID: "1001"}, result: "0"},
  {name: "SelectParentDF", result: "0"},
  {name: "T1Transmit", result: "0"},
  {name: "VerifyPIN", set: {baPIN: "1234"}, result: "0"},
  {name: "ListAccounts", set: {iNoA: 0}, result: "0"},
  {name: "CardAccounts", set: {iNoA: 0}, result: "0"},
  {name: "AppnAccounts", set: {iNoAP: 0}, result: "0"},
  {name: "UpdateRecord", before: function () { plugin.baEFID = "1002"; plugin.SelectEF(); },
   set: {bRecID: "03", bLen: "1A", baBuf: "0118333333333333333333333333333333333333333333333333"}, result: "0"},
  {name: "WriteRecordWithSNUMTAC",
   set: {baBuf: asciiHex("2500" + "12345678" + "7001234567890123"), bLen: "1C", baSN: "", baTSAC: ""}, result: "0"},
  {name: "ReadRecord", set: {iRec: 0}, result: "8400"},  // one record in the log, nine slots unread
  {name: "ChangePassword", set: {baNewPIN: "4321"}, result: "0"},
  {name: "CheckCardInOut2", result: "0"},
  // The pull-out prompt: the card never leaves, so it gives up after its countdown.
  {name: "CheckCardInOut", user: function () { user.wait(61); }, result: "-1"},
  {name: "DisConnectCard", set: {iDisConnectType: 0}, result: "0"},
  {name: "DisConnectReader", result: "0"},
];
var transactions = ["Inquiry", "Transfer", "RodaAccount", "Tax", "Payment", "PayTransfer", "WideFee", "CardStart",
                    "PayCredit", "RodaPayment", "AccountSetting", "VisaRenewal", "CommACCT_Set", "CommACCT_Add", "Transfer_V2",
                    "PublicDonation"];
// The issuer texts read the card; these are the virtual bank card's.
var issuerTexts = {IssuerId: "00400001", IssuerAccount: "0040123456789012"};

function prepare(member) {
  if (member.before) member.before();
  for (var key in member.set) plugin[key] = member.set[key];
}

// On the bank's page every member reaches the card and gives its own result.
function runOnTheBanksPage() {
  cardMembers.forEach(function (member) {
    prepare(member);
    if (member.user) member.user();
    assertEqual(plugin[member.name](), member.result, member.name);
    if (member.name === "ConnectCard")
      for (var name in issuerTexts) assertEqual(plugin[name], issuerTexts[name], name);
  });
  console.log("guarded bank done");
}

// Every value the page can read back, by name (methods left out).
function readableValues() {
  var values = {};
  Object.keys(plugin).forEach(function (name) {
    if (typeof plugin[name] !== "function") values[name] = plugin[name];
  });
  return JSON.stringify(values);
}

// On any other page every member answers 9980 (an issuer text is empty) and nothing reaches the
// controller or the card or opens a dialog: a dialog here would wait for a user step that never comes.
function runOnAnotherPage() {
  plugin.TrnsMsg = "earlier";
  cardMembers.forEach(function (member) {
    for (var key in member.set) plugin[key] = member.set[key];
  });
  for (var name in issuerTexts) plugin[name] = "written by the page";
  var before = readableValues();
  assert(before.indexOf('"baATR":"none"') >= 0 && before.indexOf('"iNoR":"0"') >= 0, "values are compared");
  cardMembers.forEach(function (member) { assertEqual(plugin[member.name](), "9980", member.name); });
  transactions.forEach(function (name) { assertEqual(plugin[name](), "9980", name); });
  for (var name in issuerTexts) assertEqual(plugin[name], "", name);
  assertEqual(readableValues(), before, "the controller's values");
  assertEqual(plugin.TrnsMsg, "earlier", "no transaction ran");
  console.log("guarded refused done");
}
