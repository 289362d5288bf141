# A postal bank card: issuer 700, one account, and a log that already holds one inquiry.
# Format notes: tools/cardsim/src/Profile.cpp. PIN 567890, three tries.
atr = 3B 80 80 01 01
aid = A0 00 00 01 72 95 00 01
pin = 567890
pin_tries = 3
tac_key = 40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F
serial = 2
log = 1080
log_capacity = 10
log_framing = zeros

[ef 1001]
1 = tlv 01 "70000019"                  # issuer bank id (postal bank 700)
2 = tlv 02 "POSTAL CARD":30             # remark
3 = tlv 03 "7001234567890123"          # main account
4 = tlv 03 "0000000000000000"
5 = tlv 03 "0000000000000000"
6 = tlv 03 "0000000000000000"
7 = tlv 03 "0000000000000000"
8 = tlv 03 "0000000000000000"
9 = tlv 03 "0000000000000000"
10 = tlv 03 "0000000000000000"

[ef 1002]
1 = tlv 01 "700000001234567890123456"
2 = tlv 01 "000000000000000000000000"
3 = tlv 01 "000000000000000000000000"
4 = tlv 01 "000000000000000000000000"
5 = tlv 01 "000000000000000000000000"
6 = tlv 01 "000000000000000000000000"
7 = tlv 01 "000000000000000000000000"
8 = tlv 01 "000000000000000000000000"

[ef 0001]
1 = tlv 01 "70000019"
2 = tlv 02 "7000654321"                # card serial number

[ef 1080]
# Record 1 (newest): three bytes of the card's own (zeros, as this card writes them), serial
# "00000001", one more byte of the card's own, the inquiry record "2500" + terminal check code +
# account, TAC length 00 08, TAC under the card key.
1 = 00 00 00 "00000001" 00 "2500" "12345678" "7001234567890123" 00 08 F8 1B 17 07 FE 37 83 A2
