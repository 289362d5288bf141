# A bank's FISC card: issuer 004, two accounts in use, two application accounts.
# Format notes: tools/cardsim/src/Profile.cpp. PIN 1234, three tries.
atr = 3B 80 80 01 01
aid = A0 00 00 01 72 95 00 01
pin = 1234
pin_tries = 3
tac_key = 40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F
serial = 1
log = 1080
log_capacity = 10
log_framing = zeros

[ef 1001]
1 = tlv 01 "00400001"                  # issuer bank id
2 = tlv 02 "BANK CARD":30               # remark
3 = tlv 03 "0040123456789012"          # main account
4 = tlv 03 "0040987654321098"
5 = tlv 03 "0000000000000000"
6 = tlv 03 "0000000000000000"
7 = tlv 03 "0000000000000000"
8 = tlv 03 "0000000000000000"
9 = tlv 03 "0000000000000000"
10 = tlv 03 "0000000000000000"

[ef 1002]
1 = tlv 01 "004000000123456789012345"
2 = tlv 01 "004000000987654321098765"
3 = tlv 01 "000000000000000000000000"
4 = tlv 01 "000000000000000000000000"
5 = tlv 01 "000000000000000000000000"
6 = tlv 01 "000000000000000000000000"
7 = tlv 01 "000000000000000000000000"
8 = tlv 01 "000000000000000000000000"

[ef 0001]
1 = tlv 01 "00400001"
2 = tlv 02 "4000123456"                # card serial number
binary = "0040000140001234560000000000000000"

[ef 1080]                             # transaction log, empty
