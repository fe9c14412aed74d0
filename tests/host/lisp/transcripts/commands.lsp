; Commands run from LISP: several in one call, "" for Enter, PAUSE answered by the script's next line, the
; variables they set, an unknown command.
(command "LINE" '(0 0) '(10 0) "" "LINE" '(10 0) PAUSE "")
10,5
(setq tot 0.0 ss (ssget "X") i 0)
(repeat (sslength ss) (setq e (entget (ssname ss i)) tot (+ tot (distance (cdr (assoc 10 e)) (cdr (assoc 11 e)))) i (1+ i)))
(list tot)
(command "DIST" '(0 0) '(3 4))
(list (getvar "DISTANCE") (getvar "LUPREC") (setvar "USERR1" 2.5) (getvar "USERR1") (numberp (getvar "MILLISECS")))
; SETVAR keeps a variable within what the CAD program allows: each range's ends taken, the values past them refused.
(defun refused (name v) (vl-catch-all-error-message (vl-catch-all-apply 'setvar (list name v))))
(list (setvar "LUNITS" 1) (setvar "LUNITS" 5) (refused "LUNITS" 0) (refused "LUNITS" 6) (setvar "LUNITS" 2))
(list (setvar "LUPREC" 0) (setvar "LUPREC" 8) (refused "LUPREC" -1) (refused "LUPREC" 20) (setvar "LUPREC" 4))
(list (setvar "AUNITS" 4) (refused "AUNITS" -1) (refused "AUNITS" 9) (setvar "AUPREC" 8) (refused "AUPREC" 9) (setvar "AUNITS" 0) (setvar "AUPREC" 0))
(list (setvar "OSMODE" 32767) (refused "OSMODE" -1) (refused "OSMODE" 32768) (refused "OSMODE" 70000) (refused "USERI1" 70000) (setvar "USERR1" 70000) (setvar "OSMODE" 4133))
(list (refused "CMDECHO" 2) (refused "PICKBOX" 51) (refused "APERTURE" 0) (refused "TILEMODE" 2))
(vl-cmdf "NOSUCH")
