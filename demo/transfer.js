// The demo page's script. It needs `demo` (set by a script run after this one, before the plug-in is
// ready): { challenge, pin, pngPath } and prints what the bank's server would receive.
function show(label, value) { console.log("demo: " + label + ": " + value); }

function check(what, code) {
  show(what, code);
  if (code !== "0") throw new Error(what + " failed with " + code);
}

function pluginLoaded(atm) {
  show("plug-in ready, version", atm.version);

  check("ConnectReader", atm.ConnectReader());
  // Client authentication: the server's challenge goes in, the plug-in's answer comes back in its place.
  atm.OptionDataPut(0, demo.challenge);
  check("ListReaders", atm.ListReaders());
  var readers = [];
  for (var i = 0; i < atm.iNoR; i++) readers.push(atm.caReaderGet(i));
  show("readers", readers.join(", "));
  // Sealed texts run over several lines; "|" stands for a line break in the log.
  console.log("CHALLENGE-ANSWER " + atm.OptionDataGet(0).split("\n").join("|"));

  atm.baReaderName = readers[0];
  check("ConnectCard", atm.ConnectCard());
  show("card ATR", atm.baATR);
  atm.baPIN = demo.pin;
  check("VerifyPIN", atm.VerifyPIN());

  // The transfer the page asks for: 123 dollars to account 1234567890 of bank 812.
  atm.SessionId = "SESSION000000001";
  atm.baIFD_Chk_Code = "CHK00001";
  atm.baIFD_ID = "TERM0001";
  atm.bAccountID = "1";
  atm.OptionDataPut(1, "20261210131500");
  atm.baMoney = "12300";
  atm.baAccept_No = "812";
  atm.baAagency_No = "0001";
  atm.baImport_Account = "1234567890";

  // The customer checks the transfer and confirms it; the check is kept as a picture.
  user.expectWindow("ATM_Trans_Dlg");
  user.savePng(demo.pngPath);
  user.click("btnOK");
  check("Transfer", atm.Transfer());
  console.log("TRNSMSG " + atm.TrnsMsg.split("\n").join("|"));
}
