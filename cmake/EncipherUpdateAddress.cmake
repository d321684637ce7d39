# cmake -DCIPHER_TOOL=... -DADDRESS_FILE=... -DOUTPUT=... -P EncipherUpdateAddress.cmake
#
# Writes the header that holds the update service's address enciphered, as
# the program keeps its other constants. The passphrase is the one that
# UpdatePassphrase() in src/update/UpdateCheck.cpp joins at run time; the
# tests check that the program deciphers the address it was built with.
file(READ ${ADDRESS_FILE} _address)
string(STRIP "${_address}" _address)
string(CONCAT _passphrase "Hv8%cQ" "m3Xk7w" "Z2p&Lr5n")
execute_process(COMMAND ${CIPHER_TOOL} encipher "${_passphrase}" "${_address}"
  OUTPUT_VARIABLE _cipher OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE _result)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "tarnwell-cipher could not encipher the update service's address")
endif()
file(WRITE ${OUTPUT} "// Made by the build from TARNWELL_UPDATE_ADDRESS: do not edit.\ninline constexpr char BuiltInAddressCipher[] = \"${_cipher}\";\n")
