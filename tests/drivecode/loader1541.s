; The fast loader's routine in a 1541.
        .include "drive1541.inc"
        .include "loader_drive.inc"
