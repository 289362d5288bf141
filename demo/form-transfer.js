// The second demo page's script: the form-driven transfer. It needs `demo` (set by a script run after
// this one, before the plug-in is ready): { blocks (bh_d0 .. bh_d8 by name, as the bank's server made
// them), pin, formPng, confirmPng } and prints what the bank's server would receive.
function show(label, value) { console.log("demo: " + label + ": " + value); }

// The transfer the customer types: 123 dollars to account 1234567890 of bank 812 (the bank list pads
// each entry with blanks).
var payeeBank = "812台新國際商業銀行" + new Array(61).join(" ");
var payeeAccount = "1234567890";
var amount = "123";

function pluginLoaded(atm) {
  // The server's parameter blocks: the login card, the reader, the session and the transfer kind (0307,
  // postal account to another bank), all enciphered; the page only passes them on.
  for (var name in demo.blocks) atm[name] = demo.blocks[name];

  // The customer fills the transfer form on the scrambled keypad: payee bank and account, amount, the
  // card's PIN and the verification code shown in the picture; the form is kept as a picture.
  user.expectWindow("TransFPOST2BANK");
  user.chooseItem("cmbBankNo", payeeBank);
  user.click("cbInAccount"); user.pressDigits(payeeAccount);
  user.click("cbAmount"); user.pressDigits(amount);
  user.click("cbCardPIN"); user.pressDigits(demo.pin);
  user.click("cbCaptchaInput"); user.typeDigitsShownIn("cbCaptcha");
  user.savePng(demo.formPng);
  // OK, then the warning against fraud: yes, transfer.
  user.click("btnOK");
  user.answerAlert(1);
  // The confirmation shows the payee as bank/account; its OK has the card write the record.
  user.expectWindow("TransFConfirm");
  user.expectDisplay("cbInAccount", payeeBank.substring(0, 3) + "/" + payeeAccount);
  user.savePng(demo.confirmPng);
  user.click("btnOK");

  var code = atm.Transfer_V2();
  show("Transfer_V2", code);
  if (code !== "0") throw new Error("Transfer_V2 failed with " + code);
  // Sealed texts run over several lines; "|" stands for a line break in the log.
  console.log("TRNSMSG " + atm.TrnsMsg.split("\n").join("|"));
}
